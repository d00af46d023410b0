#include "Plugins.hpp"

#include "Exceptions.hpp"
#include "FolderItem.hpp"
#include "framework/PluginAbi.hpp"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

namespace fw {

namespace fs = std::filesystem;

namespace {

struct Registry {
    std::mutex mutex;
    fs::path folder;  // empty: the default beside the executable
    // By canonical path, so a module reached twice through different names is opened once.
    std::map<fs::path, const PluginTable*> tables;
    // Filled only while the program's binding routine runs.
    bool collectingMisses = false;
    std::vector<std::string> misses;
};

Registry& registry() {
    static Registry r;
    return r;
}

// dlerror's text may span lines; the report must stay one line.
std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::vector<fs::path> moduleFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (it->path().extension() == ".so" && it->is_regular_file(fileEc)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool tableIsSound(const PluginTable* table) {
    return table && table->abiVersion == PluginAbiVersion && (table->entryCount == 0 || table->entries);
}

constexpr unsigned char NativeElfClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;

// Why the module's file cannot back the mapping the loader would make of it, or empty when it
// can. The loader maps each segment from the file; a segment that runs past the end of a cut
// file faults with SIGBUS on first touch, inside dlopen, and takes the whole program with it.
// Files that are no ELF object of this machine are left to dlopen, which reads their header
// without mapping anything and refuses them with its own reason.
std::string truncation(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (!in || ec) return "cannot be read";
    ElfW(Ehdr) header{};
    if (!in.read(reinterpret_cast<char*>(&header), sizeof header)) return {};
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != NativeElfClass) return {};
    if (header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0) return "no program headers";
    const auto within = [size](std::uintmax_t offset, std::uintmax_t length) {
        return offset <= size && length <= size - offset;
    };
    if (!within(header.e_phoff, std::uintmax_t{header.e_phnum} * sizeof(ElfW(Phdr))))
        return "cut short (program headers past the end of the file)";
    std::vector<ElfW(Phdr)> segments(header.e_phnum);
    in.seekg(static_cast<std::streamoff>(header.e_phoff));
    if (!in.read(reinterpret_cast<char*>(segments.data()),
                 static_cast<std::streamsize>(segments.size() * sizeof(ElfW(Phdr)))))
        return "cannot be read";
    for (const ElfW(Phdr) & segment : segments) {
        if (segment.p_type != PT_LOAD && segment.p_type != PT_DYNAMIC) continue;
        if (!within(segment.p_offset, segment.p_filesz))
            return "cut short (" + std::to_string(size) + " bytes, a segment reaches to " +
                   std::to_string(std::uintmax_t{segment.p_offset} + segment.p_filesz) + ")";
    }
    return {};
}

// The module's table, loading the module when it is seen for the first time; nullptr, with the
// reason added to passedOver, when it cannot serve.
const PluginTable* moduleTable(Registry& r, const fs::path& file, std::vector<std::string>& passedOver) {
    std::error_code ec;
    fs::path key = fs::canonical(file, ec);
    if (ec) key = file;
    if (auto known = r.tables.find(key); known != r.tables.end()) return known->second;

    if (std::string fault = truncation(key); !fault.empty()) {
        passedOver.push_back(file.filename().string() + ": " + fault);
        return nullptr;
    }
    // Modules stay loaded for the rest of the process: entry points handed out point into them.
    void* handle = dlopen(key.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        passedOver.push_back(file.filename().string() + ": " + oneLine(why ? why : "cannot be loaded"));
        return nullptr;
    }
    auto tableFunction = reinterpret_cast<PluginTableFunction>(dlsym(handle, PluginTableSymbol));
    if (!tableFunction) {
        passedOver.push_back(file.filename().string() + ": no " + PluginTableSymbol);
        dlclose(handle);
        return nullptr;
    }
    const PluginTable* table = tableFunction();
    if (!tableIsSound(table)) {
        passedOver.push_back(file.filename().string() + ": table of another layout version");
        dlclose(handle);
        return nullptr;
    }
    r.tables.emplace(key, table);
    return table;
}

bool matches(const PluginEntry& entry, const String& signature) {
    return entry.signature && entry.function && std::strlen(entry.signature) == signature.size() &&
           std::memcmp(entry.signature, signature.data(), signature.size()) == 0;
}

fs::path folderOf(const Registry& r) {
    if (!r.folder.empty()) return r.folder;
    auto executable = AppFolderItemGetter();
    if (!executable) return {};
    return executable->path().parent_path().parent_path() / "Plugins";
}

}  // namespace

void SetPluginFolder(const fs::path& folder) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.folder = folder;
}

fs::path PluginFolder() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return folderOf(r);
}

void** RuntimeAllocatePluginEntrypointsTable(std::size_t slots) { return new void*[slots](); }

namespace {

void* lookUp(const String& signature, bool reportMiss) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    fs::path folder = folderOf(r);
    std::vector<std::string> passedOver;
    for (const fs::path& file : moduleFiles(folder)) {
        const PluginTable* table = moduleTable(r, file, passedOver);
        if (!table) continue;
        for (std::uint32_t i = 0; i < table->entryCount; ++i)
            if (matches(table->entries[i], signature)) return reinterpret_cast<void*>(table->entries[i].function);
    }
    if (reportMiss && r.collectingMisses) {
        std::string line =
            "radixel: no plug-in in \"" + folder.string() + "\" provides \"" + oneLine(signature.bytes()) + "\"";
        if (!passedOver.empty()) {
            line += " (passed over: ";
            for (std::size_t i = 0; i < passedOver.size(); ++i) line += (i ? "; " : "") + passedOver[i];
            line += ")";
        }
        r.misses.push_back(std::move(line));
    }
    return nullptr;
}

}  // namespace

void* RuntimeLookupPluginEntrypoint(const String& signature) { return lookUp(signature, true); }

void* RuntimeLookupOptionalPluginEntrypoint(const String& signature) { return lookUp(signature, false); }

void InitPluginEntrypoints(void (*programBinding)()) {
    if (!programBinding) RaiseNilObjectException();
    Registry& r = registry();
    {
        std::lock_guard lock(r.mutex);
        r.misses.clear();
        r.collectingMisses = true;
    }
    struct StopCollecting {
        Registry& r;
        ~StopCollecting() {
            std::lock_guard lock(r.mutex);
            r.collectingMisses = false;
            for (const std::string& miss : r.misses) std::fprintf(stderr, "%s\n", miss.c_str());
            std::fflush(stderr);
            r.misses.clear();
        }
    } stop{r};
    programBinding();
}

}  // namespace fw
