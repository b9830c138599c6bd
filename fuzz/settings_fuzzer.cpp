// Settings files: read from a "mem://" block and from a disk copy, which must give the same
// values; then one value is put, the file written back and read again, which must keep them all.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <vexel/settings.h>

#include "support/disk_copy.h"
#include "support/fuzz_harness.h"

namespace {

using vexel::DynString;
using vexel::fuzz::check;

// Queries enough to cover the seeds' sections and keys.
constexpr size_t kMostQueries = 32;
constexpr char kAbsent[] = "<absent>";
// A section the queries below never name: they stop at the first ']'.
constexpr char kPutSection[] = "fuzz]section";

using Query = std::pair<std::string, std::string>;

// Section and key names as a person would read them from the lines: "[name]" and "key=". The
// store need not agree: a query of a name it does not hold gives the default on both sides.
std::vector<Query> queries_from(std::string_view text) {
    std::vector<Query> queries;
    std::string section;
    size_t start = 0;
    while (start < text.size() && queries.size() < kMostQueries) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line[0] == '[') {
            section = std::string(line.substr(1, line.find(']') - 1));
        } else if (const size_t equals = line.find('='); equals != std::string_view::npos) {
            queries.emplace_back(section, std::string(line.substr(0, equals)));
        }
    }
    return queries;
}

std::vector<std::string> answers(const std::vector<Query>& queries) {
    std::vector<std::string> values;
    for (const Query& query : queries) {
        const DynString value = vexel::ini_get(DynString(query.first.c_str()),
                                               DynString(query.second.c_str()), DynString(kAbsent));
        values.emplace_back(value.c_str(), value.length());
    }
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vexel::fuzz::enter_private_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<Query> queries =
        queries_from(std::string_view(reinterpret_cast<const char*>(data), size));
    const vexel::fuzz::InputFile input(data, size);
    vexel::ini_open(DynString(input.name()));
    const std::vector<std::string> from_memory = answers(queries);

    const DynString disk(vexel::fuzz::write_disk_copy("settings.ini", data, size).c_str());
    vexel::ini_open(disk);
    check(answers(queries) == from_memory, "memory and disk read different settings");

    vexel::ini_put(DynString(kPutSection), DynString("fuzz_key"), DynString("fuzz value"));
    vexel::ini_open(DynString());
    vexel::ini_open(disk);
    check(answers(queries) == from_memory, "a write-back changed the settings");
    const DynString put =
        vexel::ini_get(DynString(kPutSection), DynString("fuzz_key"), DynString());
    check(put == DynString("fuzz value"), "a value put was not written back");
    vexel::ini_open(DynString());
    return 0;
}
