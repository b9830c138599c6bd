// Internal: the language codes platform_info("LOCALE") answers with. The engine speaks in Windows
// language identifiers (primary language in the low 10 bits, sublanguage above); a POSIX locale
// is first mapped to the identifier it corresponds to.
#pragma once

#include <cstdint>

namespace vexel {

// The identifier of a POSIX locale name such as "de_DE.UTF-8" or "sr_RS@latin"; 0 when the
// language is not known ("C", "POSIX", empty).
uint16_t language_id_for_locale(const char* locale);
// The two-letter code of an identifier; "us" for every identifier without one of its own.
const char* language_code(uint16_t language_id);

}  // namespace vexel
