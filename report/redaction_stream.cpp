#include "report/redaction_stream.h"

#include "report/redactor.h"

void RedactionStream::write(std::string_view piece, std::string& out) {
    pending.append(piece);
    const size_t stop = redactor.redact_part(pending, from, false, out);
    const size_t drop = stop > Redactor::kLookBehind ? stop - Redactor::kLookBehind : 0;
    pending.erase(0, drop);
    from = stop - drop;
}

void RedactionStream::finish(std::string& out) {
    redactor.redact_part(pending, from, true, out);
    pending.clear();
    from = 0;
}
