// Tip files: the start-up reads tips/<n>.tip whole and the tip window shows it decoded;
// a fuzzed tip file, in either spelling of its name, arrives whole and decodes to one
// character per byte.
//   parts: tip file | parameters
#include "FuzzSupport.h"

#include "platform/Cp1252.h"
#include "platform/TextFile.h"
#include "store/Archive.h"
#include "store/FileUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumo;
    static fuzz::ScratchArchive scratch;
    auto parts = fuzz::SplitParts(data, size, 2);
    fuzz::Params params(parts[1]);
    const std::string& tip = parts[0];
    const int number = 1 + static_cast<int>(params.below(40));
    scratch.clear();
    const std::string name = std::to_string(number) + (params.flag() ? ".tip" : ".TIP");
    scratch.write((params.flag() ? "tips/" : "Tips/") + name, tip);
    const Archive archive(scratch.dir());

    int err = -1;
    const auto text =
        ReadWholeFile(archive.resolve("tips/" + std::to_string(number) + ".tip"), &err);
    FUZZ_CHECK(text && err == 0 && *text == tip);
    const QString shown = FromCp1252(*text);
    FUZZ_CHECK(static_cast<size_t>(shown.size()) == tip.size());
    const DecodedText decoded = DecodeTextFile(*text);
    FUZZ_CHECK(!decoded.text.contains(QLatin1Char('\r')));
    FUZZ_CHECK(decoded.text.size() <= shown.size());

    // A tip number without a file reads as missing, not as some other file.
    FUZZ_CHECK(!ReadWholeFile(archive.resolve("tips/" + std::to_string(number + 40) + ".tip")));
    return 0;
}
