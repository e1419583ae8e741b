// The profile loader: any text is either refused with an exception or read into a
// profile that saves and reads back to the same data.
#include "Data/Profile.h"
#include "Data/ProfileArchive.h"
#include "FuzzSupport.h"

#include <exception>

namespace {

bool sameData(const Data::Profile& a, const Data::Profile& b) {
    return a.getName() == b.getName() && a.nationality == b.nationality &&
           a.controls == b.controls && a.birthday == b.birthday &&
           a.creationDate == b.creationDate && a.sex == b.sex;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Data::Profile loaded;
    try {
        Data::ProfileArchive::read(text, loaded);
    } catch (const std::exception&) {
        return 0;
    }
    Data::Profile again;
    Data::ProfileArchive::read(Data::ProfileArchive::write(loaded), again);
    FuzzSupport::require(sameData(loaded, again), "a loaded profile saves and loads unchanged");
    return 0;
}
