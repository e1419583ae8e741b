#pragma once

#include <string>
#include <string_view>

namespace System::ModelText {

// Checks a model file before the importer reads it, for what makes Assimp 5.2's
// COLLADA reader run away or read outside its data:
// - an index list (<p>) holding anything but whole numbers makes it append indices
//   without end until memory runs out;
// - a count, stride or offset attribute far beyond the file's size (or written as
//   -1, which it reads as 4294967295) makes it reserve gigabytes: these attributes
//   must be whole decimal numbers no larger than the file's length in bytes, as no
//   list of values is longer than its text;
// - an accessor that reaches beyond the array it names (an array without a count
//   holds no values) makes it read outside that array: offset + count x stride must
//   lie within the array's count, and the stride must cover the accessor's params.
// Returns what is wrong, or "" when the text may be imported.
std::string findProblem(std::string_view text);

// Reads the model file (regular files only; a named pipe would block the importer)
// and checks it; the read error or the problem, or "" when it may be imported.
std::string checkFile(const std::string& path);

} // namespace System::ModelText
