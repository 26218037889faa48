// Any UTF-16 text encodes to printable ASCII with upper-case escapes that decode back to
// the text's UTF-8 (unpaired surrogates as U+FFFD).

#include "FuzzCommon.h"
#include "lookup/Utf8EncodeUri.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace fuzzcheck;
    const std::u16string text = Units(data, size);
    const std::string encoded = tovrin::lookup::UTF8EncodeURI(text);
    for (const char c : encoded)
        require(c > 0x20 && c < 0x7F);
    require(Decode(encoded, false) == Utf8(text));
    require(text.empty() == encoded.empty());
    return 0;
}
