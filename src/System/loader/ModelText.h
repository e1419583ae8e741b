#pragma once

#include <string>
#include <string_view>

namespace System::ModelText {

// Checks a model file before the importer reads it, for what makes Assimp 5.2's
// COLLADA reader run away: an index list (<p>) holding anything but whole numbers
// makes it append indices without end until memory runs out, and a count, stride or
// offset attribute far beyond the file's size (or written as -1, which it reads as
// 4294967295) makes it reserve gigabytes. These attributes must be whole decimal
// numbers no larger than the file's length in bytes: no list of values is longer
// than its text. Returns what is wrong, or "" when the text may be imported.
std::string findProblem(std::string_view text);

// Reads the model file (regular files only; a named pipe would block the importer)
// and checks it; the read error or the problem, or "" when it may be imported.
std::string checkFile(const std::string& path);

} // namespace System::ModelText
