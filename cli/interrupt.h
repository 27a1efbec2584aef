#pragma once

// Ctrl+C handling for the command line: the first interrupt calls `on_first` (which must only do
// async-signal-safe work, such as storing an atomic flag); a second one ends the process at once
// with status 130. On Windows, closing the console window, logging off and shutting down are a stop
// too: the system ends the program a few seconds after such an event whatever it does, so the
// handler holds it off for that long, for the run to end as stopped and the program to finish.
void install_interrupt_handler(void (*on_first)());
