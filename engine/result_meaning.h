#pragma once

#include <string>

// What a check's result code usually means, in English, for the engineer reading the summary: a hint
// for each of the program's own codes, the error-code page's message for the HTTP client's numbers,
// and the reason of an HTTP status. Empty for success and for codes nobody knows.
std::string usual_meaning(int code);

// The message a result code shows beside it: its string-table text, or for a code without one (an
// HTTP status, an HTTP client number) a short English name of it.
std::string result_code_message(int code, int message_id);
