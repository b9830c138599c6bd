// Hexadecimal and the cipher: any key and any "hex" text decrypt without harm, hex_encode and
// hex_pair_value are inverses, and decrypting what was encrypted gives the text up to its first
// zero byte. The input is a key (FuzzedDataProvider's length-prefixed string) and then the text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include <vexel/cipher.h>
#include <vexel/text.h>

#include "support/fuzz_harness.h"

using vexel::DynString;
using vexel::fuzz::check;

namespace {

DynString text_of(const std::string& bytes) {
    DynString text;
    text.append(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return text;
}

void check_hex_round_trip(const std::string& bytes, bool upper) {
    const DynString hex =
        vexel::hex_encode(bytes.data(), static_cast<uint32_t>(bytes.size()), upper);
    check(hex.length() == 2 * bytes.size(), "hex of the wrong length");
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int32_t value = vexel::hex_pair_value(hex[2 * i], hex[2 * i + 1]);
        check(value == static_cast<unsigned char>(bytes[i]), "hex that does not read back");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const DynString key = text_of(provider.ConsumeRandomLengthString(80));
    const std::string rest = provider.ConsumeRemainingBytesAsString();
    const DynString text = text_of(rest);

    const DynString plain = vexel::decrypt(key, text);
    check(plain.length() <= text.length() / 2 + 8, "decrypting made more bytes than it had");

    check_hex_round_trip(rest, rest.size() % 2 == 0);
    if (key.empty()) return 0;
    const DynString secret = vexel::encrypt(key, text);
    check(secret.length() == (rest.size() + 7) / 8 * 16, "cipher text of the wrong length");
    const DynString back = vexel::decrypt(key, secret);
    const size_t kept = std::strlen(rest.c_str());
    check(back.length() == kept && std::memcmp(back.c_str(), rest.data(), kept) == 0,
          "decrypting did not undo encrypting");
    return 0;
}
