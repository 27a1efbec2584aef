#pragma once

// How the lab learns that it should stop: SIGTERM or SIGINT, its standard input closing, or a
// request from one of its own threads.

// Call first, before any thread starts, so that every thread leaves the stop signals to
// wait_for_stop. A peer that goes away never kills the lab.
void prepare_stop_signals();
void watch_standard_input();
void request_stop();
void wait_for_stop();
