#pragma once
// The server's log: one line per event on stderr, stamped with the UTC time,
// as an operator reads it in a journal. Any thread.
#include <string>

void serverLog(const std::string& text);
