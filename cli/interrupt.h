#pragma once

// Ctrl+C handling for the command line: the first interrupt calls `on_first` (which must only do
// async-signal-safe work, such as storing an atomic flag); a second one ends the process at once
// with status 130.
void install_interrupt_handler(void (*on_first)());
