#pragma once

#include <string>
#include <string_view>

namespace Data::ProfileElements {

// Checks the body of a profile archive (the text between the root element's tags)
// against the profile's element layout: the element Profile holding Name,
// Nationality (Nation), Birthday (Day to Seconds), Sex, Controls (AIEnabled to Reset)
// and Creationdate (Day to Seconds), each in its place and closed by its own end tag,
// with white space only between elements. Start tags carry only the attributes
// class_id, tracking_level and version, each a decimal number in double quotes; text
// holds no "<", and "&" only in the references &amp; &lt; &gt; &quot; &apos; &#N;
// and &#xN;. Returns what is wrong first, or "" when the body has exactly this
// layout, so that the archive library only ever parses well-formed, balanced input.
std::string findProblem(std::string_view body);

} // namespace Data::ProfileElements
