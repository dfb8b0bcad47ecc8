#pragma once

#include <string>

// Writes a small file whole or not at all (a temporary file renamed into
// place), so that a reader polling for it never sees half of it.
bool writeFileAtomically(const std::string& path, const std::string& content, std::string& error);
