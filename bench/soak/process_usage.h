#pragma once

// What this process holds at one moment; -1 where the system would not tell.
struct ProcessUsage {
    long open_descriptors = -1;
    long threads = -1;
    long resident_kib = -1;
};

// Reads the current usage. Descriptors opened only to take the reading are not counted.
ProcessUsage current_process_usage();
