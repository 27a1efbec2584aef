#pragma once

#include <string>
#include <vector>

#include "engine/CCheckHost.h"
#include "tests/integration/lab_support.h"

// A check list for the lab's web server: the product members every list needs, plus `servers`, the
// members naming the servers (e.g. R"("session": ["127.0.0.1:{session}"])"; "{name}" is the port the
// lab bound for that server).
std::string lab_check_list(const std::string& servers);

// A scenario whose web server serves `check_list` over HTTPS (the check list is fetched with TLS on
// every port but 80), with the given other members
// (e.g. R"("relays": [...])").
std::string lab_scenario(const std::string& check_list, const std::string& other_members = "");

// Points a check host at the lab's web server and loads the check list.
bool load_from_lab(CCheckHost& host, const ProductLab& lab, std::string& failure);

// Lines of the tool's log written since `offset` (byte position of the log file), for assertions
// on the records a run wrote; `offset` is moved to the end.
std::string log_since(size_t& offset);

// The path with forward slashes: Windows takes them as well, and a check list's JSON text needs no
// escapes for them.
std::string forward_slashes(std::string path);

// How often `what` occurs in `text`, overlaps included.
int count_of(const std::string& text, const std::string& what);

// checktool-cli against the lab's web server with the given flags, its standard error going to the
// file the environment variable CHECKTOOL_STDERR names, so that a test can read what it said there
// (on Windows, where a test child's standard error stays the test's own, it is not redirected).
std::vector<std::string> cli_with_stderr(const ProductLab& lab, const std::vector<std::string>& flags);
