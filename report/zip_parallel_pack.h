#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "report/zip_pack_plan.h"
#include "report/zip_writer.h"

struct ZipWriter;

// Packs the items into the open archive with several threads deflating at once: whole files and the
// pieces of large files are deflated concurrently and written strictly in order, so the archive holds
// the same entries, headers and contents as the one-thread writer makes. The calling thread reads the
// sources and writes the archive; at most a fixed number of pieces is in flight. A file that cannot be
// opened or read is packed through a temporary copy beside archive_path, as ZipFileList does.
void zip_pack_in_parallel(ZipWriter& zip, const std::vector<ZipListItem>& items, int workers,
                          size_t chunk_bytes, const std::string& archive_path, ZipPackProgress& progress,
                          std::vector<ZipFileFailure>* failures);
