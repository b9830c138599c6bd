#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <vexel/error.h>
#include <vexel/platform_info.h>
#include <vexel/text.h>

#include "io/file_layer.h"
#include "io/locale_codes.h"
#include "io/platform_queries.h"
#include "platform/power.h"

namespace vexel {

namespace {

constexpr char kGlExtensionKey[] = "GLEXT:";
constexpr size_t kGlExtensionKeyLength = sizeof kGlExtensionKey - 1;

GlProcLookup g_gl_proc_lookup = nullptr;

std::string home_folder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "";
}

std::string read_first_line(const char* path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// Creates the folder and whatever parents it lacks; failures are left for the caller to see.
void create_folders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0777);
    }
    ::mkdir(path.c_str(), 0777);
}

std::string current_time_text(bool utc) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    if (utc) {
        ::gmtime_r(&now, &parts);
    } else {
        ::localtime_r(&now, &parts);
    }
    return time_text(parts);
}

DynString gl_extension_answer(const char* name) {
    return g_gl_proc_lookup && g_gl_proc_lookup(name) ? DynString("1") : DynString("0");
}

DynString folder_or_no_data(const std::string& folder) {
    return folder.empty() ? DynString("NO_DATA") : DynString(folder.c_str());
}

}  // namespace

void set_gl_proc_lookup(GlProcLookup lookup) {
    g_gl_proc_lookup = lookup;
}

uint32_t serial_from_machine_id(const std::string& machine_id) {
    std::string id = machine_id;
    while (!id.empty() && static_cast<unsigned char>(id.back()) <= ' ')
        id.pop_back();
    if (id.empty()) return kFallbackSerial;
    // FNV-1a: the same text gives the same serial on every run.
    uint32_t hash = 2166136261u;
    for (unsigned char c : id) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

std::string device_id_text(uint32_t serial) {
    const uint32_t masked = serial ^ kDeviceIdMask;
    const uint8_t bytes[4] = {static_cast<uint8_t>(masked), static_cast<uint8_t>(masked >> 8),
                              static_cast<uint8_t>(masked >> 16),
                              static_cast<uint8_t>(masked >> 24)};
    return hex_encode(bytes, 4, true).c_str();
}

std::string time_text(const std::tm& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", time.tm_year + 1900,
                  time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    return text;
}

std::string posix_ui_locale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = std::getenv(name); value && *value) return value;
    }
    return "";
}

std::string documents_folder() {
    const std::string home = home_folder();
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        config = xdg;
    } else if (!home.empty()) {
        config = home + "/.config";
    }
    if (!config.empty()) {
        std::ifstream dirs(config + "/user-dirs.dirs");
        std::string line;
        while (std::getline(dirs, line)) {
            const std::string key = "XDG_DOCUMENTS_DIR=\"";
            if (line.compare(0, key.size(), key) != 0) continue;
            const size_t end = line.find('"', key.size());
            if (end == std::string::npos) break;
            std::string path = line.substr(key.size(), end - key.size());
            if (path.compare(0, 5, "$HOME") == 0) {
                if (home.empty()) break;
                path = home + path.substr(5);
            }
            if (!path.empty() && path[0] == '/') return path;
            break;
        }
    }
    return home.empty() ? "" : home + "/Documents";
}

std::string data_home_folder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg && xdg[0] == '/') return xdg;
    const std::string home = home_folder();
    return home.empty() ? "" : home + "/.local/share";
}

DynString platform_info(const DynString& key) {
    // The name after "GLEXT:" keeps its case; everything else is compared upper-cased.
    std::string upper(key.c_str());
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    if (upper.empty()) return "LINUX";
    if (upper == "DEVICE") return "DESKTOP";
    if (upper.compare(0, kGlExtensionKeyLength, kGlExtensionKey) == 0) {
        return gl_extension_answer(key.c_str() + kGlExtensionKeyLength);
    }
    if (upper == "ID") {
        return device_id_text(serial_from_machine_id(read_first_line("/etc/machine-id"))).c_str();
    }
    if (upper == "TIME") return current_time_text(false).c_str();
    if (upper == "UTCTIME") return current_time_text(true).c_str();
    if (upper == "BATTERY") {
        const int32_t percent = battery_percent();
        return DynString(percent < 0 || percent > 100 ? 100 : percent);
    }
    if (upper == "LOCALE") {
        return language_code(language_id_for_locale(posix_ui_locale().c_str()));
    }
    if (upper == "DOCUMENTS") return folder_or_no_data(documents_folder());
    if (upper == "APPDATA") {
        const std::string base = data_home_folder();
        if (base.empty()) return "NO_DATA";
        const std::string folder = base + "/Vexel";
        create_folders(folder);
        return folder.c_str();
    }
    if (upper == "TEMP") return temp_folder();
    return "NO_DATA";
}

}  // namespace vexel
