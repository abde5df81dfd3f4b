// Arbitrary bytes as an initialisation file. Every name the file holds reads without a fault and
// gives a value of one line; the first key of the first section reads as its line has it; values
// written into the file in one write, to a key it holds and a new key beside it, or to a new
// section, read back as written.

#include "fuzz_support.h"

#include "platform/profile.h"
#include "platform/profile_line.h"

#include <optional>

namespace {

bool OneLine(const std::optional<std::string>& value) {
    return !value || value->find_first_of("\r\n") == std::string::npos;
}

void RequireWriteReadsBack(const std::string& path, const std::string& section,
                           const std::string& key) {
    const TProfileWrite writes[] = {{key, "1.5 kg"}, {"Vesk-nueva", "2"}};
    if (!WriteProfileStrings(path, section, writes))
        return;
    // A key the file names like the new one takes the later value.
    const TProfile written = TProfile::Load(path);
    Require(written.Read(section, key) == (SameProfileName(key, writes[1].Key) ? "2" : "1.5 kg"));
    Require(written.Read(section, writes[1].Key) == "2");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = AsText(data, size);
    const TProfile profile = TProfile::Parse(text);

    std::optional<std::string_view> section;
    std::optional<std::string_view> firstSection;
    std::optional<std::string_view> firstKey;
    for (const TProfileLine& line : SplitProfileLines(text)) {
        const TProfileEntry entry = ClassifyProfileLine(line.Text);
        if (entry.Kind == TProfileEntry::Header) {
            section = entry.Name;
            if (!firstSection)
                firstSection = entry.Name;
        } else if (entry.Kind == TProfileEntry::Pair && section) {
            Require(OneLine(profile.Read(*section, entry.Name)));
            if (!firstKey && section->data() == firstSection->data())
                firstKey = entry.Name;
        }
    }
    if (firstKey)
        Require(profile.Read(*firstSection, *firstKey).has_value());

    const std::string path = FuzzFolder() / "profile.ini";
    WriteFuzzFile(path, text);
    if (firstKey)
        RequireWriteReadsBack(path, std::string(*firstSection), std::string(*firstKey));
    RequireWriteReadsBack(path, "Vesk", "Clave");
    return 0;
}
