#pragma once

#include "report/summary_page.h"

class Redactor;

// Redacts the texts of a summary page before it is rendered, so that the page's own markup is never
// taken for a private value (a login "td" or "main") and a value is found before HTML escaping changes
// it ("O'Brien"). The tool's version and the run's times are the tool's own facts and stay.
void redact_summary_page(SummaryPage& page, Redactor& redactor);
