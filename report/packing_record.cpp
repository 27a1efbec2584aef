#include "report/packing_record.h"

#include "sys/exe_facts.h"
#include "sys/files.h"

void PackingRecord::add_packed(const std::string& archive, const std::string& name,
                               const std::string& source_path) {
    packed.push_back({archive, name, get_file_size(source_path), get_file_time(source_path)});
}

void PackingRecord::add_skipped(const std::string& path, const std::string& reason) {
    skipped.push_back({path, reason});
}

void PackingRecord::drop_archive(const std::string& archive) {
    std::erase_if(packed, [&](const PackedFile& f) { return f.archive == archive; });
}

void PackingRecord::add_unredacted(const std::string& path, const std::string& reason) {
    unredacted.push_back({path, reason});
}
