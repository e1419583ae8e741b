#include "Data/Nation.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace Data {

namespace {

const std::array<std::string, 59> nationNames = {
    "Africa",        "Aland Islands",  "Albania",
    "Andorra",       "Australia",      "Austria",
    "Belarus",       "Belgium",        "Bosnia and Herzegovina",
    "Bulgaria",      "Canada",         "China",
    "Croatia",       "Czech Republic", "Denmark",
    "Estonia",       "Europe",         "Faroe Islands",
    "Finland",       "France",         "German",
    "Gibraltar",     "Greece",         "Guernsey",
    "Hungary",       "Iceland",        "Ireland",
    "Isle of Man",   "Italy",          "Japan",
    "Jersey",        "Kosovo",         "Latvia",
    "Liechtenstein", "Lithuania",      "Luxembourg",
    "Macedonia",     "Malta",          "Moldova",
    "Monaco",        "Montenegro",     "Netherlands",
    "Norway",        "Poland",         "Portugal",
    "Romania",       "Russia",         "San Marino",
    "Serbia",        "Slovakia",       "Slovenia",
    "South America", "Spain",          "Sweden",
    "Switzerland",   "Ukraine",        "United Kingdom",
    "USA",           "Vatican"};

std::string toUpper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

Nation::Nation(const std::string& name) {
    set(name);
}

Nation::Nation(const unsigned int& index) : index(index) {}

void Nation::set(const std::string& name) {
    const std::string wanted = toUpper(name);
    const auto found =
        std::find_if(nationNames.begin(), nationNames.end(),
                     [&](const std::string& entry) { return toUpper(entry) == wanted; });
    index =
        found == nationNames.end() ? 0 : static_cast<std::uint32_t>(found - nationNames.begin());
}

void Nation::set(const unsigned int& newIndex) {
    index = newIndex;
}

std::string Nation::getNationString() const {
    if (index == noNation) {
        return {};
    }
    return index < nationNames.size() ? nationNames[index] : nationNames[0];
}

const std::string* Nation::getStringMap() {
    return nationNames.data();
}

unsigned int Nation::getNationMapsize() {
    return static_cast<unsigned int>(nationNames.size());
}

} // namespace Data
