#include "bench/redact/baseline_redaction.h"

#include "report/redacted_copy.h"
#include "report/redactor.h"

bool baseline_redact_files(const UserIdentity& identity, const std::vector<std::string>& sources,
                           const std::vector<std::string>& destinations) {
    Redactor redactor(identity);
    for (size_t n = 0; n < sources.size(); ++n)
        if (!write_redacted_copy(&redactor, sources[n], destinations[n])) return false;
    return true;
}
