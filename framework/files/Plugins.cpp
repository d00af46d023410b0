#include "Plugins.hpp"

#include "Exceptions.hpp"
#include "FolderItem.hpp"
#include "PluginTrial.hpp"
#include "framework/PluginAbi.hpp"
#include "framework/PluginTrialProtocol.hpp"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace fw {

namespace fs = std::filesystem;

namespace {

// A file as it stands: a module replaced or rewritten under the same name is another module.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const fs::path& file) {
    struct stat status {};
    if (stat(file.c_str(), &status) != 0) return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino, status.st_size,
                        std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}

// A module that cannot serve, and why. It is not tried again while its file stays the same: a
// module that hangs would cost its time bound at every lookup.
struct PassedOver {
    std::optional<FileIdentity> identity;
    std::string fault;
    bool died = false;  // it crashed or hung in its trial, rather than being refused
};

// A module that died in its trial, in the folder where it lay.
struct DiedInTrial {
    fs::path folder;
    std::string module;  // "file: fault"
    bool operator==(const DiedInTrial&) const = default;
};

struct Registry {
    std::mutex mutex;
    fs::path folder;       // empty: the default beside the executable
    fs::path trialHelper;  // empty: the default beside the executable
    // By canonical path, so a module reached twice through different names is opened once.
    std::map<fs::path, const PluginTable*> tables;
    std::map<fs::path, PassedOver> passedOver;
    // The file name of the module behind each entry point handed out.
    std::map<const void*, std::string> modulesOfEntries;
    // For each signature whose last lookup found nothing, the modules passed over on the way.
    std::map<std::string, std::vector<std::string>> missedPassingOver;
    // Filled only while the program's binding routine runs.
    bool collecting = false;
    std::vector<std::string> misses;
    std::vector<DiedInTrial> diedInTrial;
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

fs::path trialHelperOf(const Registry& r) {
    if (!r.trialHelper.empty()) return r.trialHelper;
    auto executable = AppFolderItemGetter();
    if (!executable) return PluginTrialHelperName;
    return executable->path().parent_path() / PluginTrialHelperName;
}

// The module's table, loading the module when it is seen for the first time; nullptr, with the
// reason added to passedOver, when it cannot serve.
const PluginTable* moduleTable(Registry& r, const fs::path& folder, const fs::path& file,
                               std::vector<std::string>& passedOver) {
    std::error_code ec;
    fs::path key = fs::canonical(file, ec);
    if (ec) key = file;
    if (auto known = r.tables.find(key); known != r.tables.end()) return known->second;

    const std::optional<FileIdentity> identity = identityOf(key);
    // remember: false when the fault lies outside the module, so that it is tried again.
    auto refuse = [&](std::string fault, bool died, bool remember = true) -> const PluginTable* {
        fault = oneLine(std::move(fault));
        std::string line = file.filename().string() + ": " + fault;
        if (died && r.collecting) {
            DiedInTrial death{folder, line};
            if (std::find(r.diedInTrial.begin(), r.diedInTrial.end(), death) == r.diedInTrial.end())
                r.diedInTrial.push_back(std::move(death));
        }
        passedOver.push_back(std::move(line));
        if (remember) r.passedOver[key] = PassedOver{identity, std::move(fault), died};
        return nullptr;
    };
    if (auto known = r.passedOver.find(key);
        known != r.passedOver.end() && identity && known->second.identity == identity)
        return refuse(known->second.fault, known->second.died);

    if (std::string fault = truncation(key); !fault.empty()) return refuse(std::move(fault), false);
    // Nothing of the module runs in the program before it has run once, unharmed, in a helper:
    // loading it runs its constructors, and reading its table follows its pointers.
    using Verdict = PluginTrialOutcome::Verdict;
    if (PluginTrialOutcome trial = TryPluginModule(trialHelperOf(r), key); trial.verdict != Verdict::Passed)
        return refuse(std::move(trial.fault), trial.verdict == Verdict::Died, trial.verdict != Verdict::Untried);
    // Modules stay loaded for the rest of the process: entry points handed out point into them.
    void* handle = dlopen(key.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        return refuse(why ? why : "cannot be loaded", false);
    }
    auto tableFunction = reinterpret_cast<PluginTableFunction>(dlsym(handle, PluginTableSymbol));
    if (!tableFunction) {
        dlclose(handle);
        return refuse(std::string("no ") + PluginTableSymbol, false);
    }
    const PluginTable* table = tableFunction();
    if (!tableIsSound(table)) {
        dlclose(handle);
        return refuse("table of another layout version", false);
    }
    r.passedOver.erase(key);
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

void SetPluginTrialHelper(const fs::path& helper) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.trialHelper = helper;
}

fs::path PluginTrialHelper() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return trialHelperOf(r);
}

void* RuntimeLookupPluginEntrypoint(const String& signature) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    fs::path folder = folderOf(r);
    std::vector<std::string> passedOver;
    for (const fs::path& file : moduleFiles(folder)) {
        const PluginTable* table = moduleTable(r, folder, file, passedOver);
        if (!table) continue;
        for (std::uint32_t i = 0; i < table->entryCount; ++i)
            if (matches(table->entries[i], signature)) {
                void* entry = reinterpret_cast<void*>(table->entries[i].function);
                r.missedPassingOver.erase(signature.bytes());
                r.modulesOfEntries[entry] = file.filename().string();
                return entry;
            }
    }
    r.missedPassingOver[signature.bytes()] = passedOver;
    if (r.collecting) {
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

std::string PluginModuleOf(const void* entry) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto known = r.modulesOfEntries.find(entry);
    return known == r.modulesOfEntries.end() ? std::string() : known->second;
}

std::vector<std::string> PluginsPassedOverFor(const String& signature) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto missed = r.missedPassingOver.find(signature.bytes());
    return missed == r.missedPassingOver.end() ? std::vector<std::string>() : missed->second;
}

void InitPluginEntrypoints(void (*programBinding)()) {
    if (!programBinding) RaiseNilObjectException();
    Registry& r = registry();
    {
        std::lock_guard lock(r.mutex);
        r.misses.clear();
        r.diedInTrial.clear();
        r.collecting = true;
    }
    struct StopCollecting {
        Registry& r;
        ~StopCollecting() {
            std::lock_guard lock(r.mutex);
            r.collecting = false;
            for (const std::string& miss : r.misses) std::fprintf(stderr, "%s\n", miss.c_str());
            // A module that died in its trial is named even when another module served instead,
            // once, unless a line above has named it already.
            for (const DiedInTrial& death : r.diedInTrial) {
                const bool named = std::any_of(r.misses.begin(), r.misses.end(), [&](const std::string& miss) {
                    return miss.find(death.module) != std::string::npos;
                });
                if (!named)
                    std::fprintf(stderr, "radixel: plug-in in \"%s\" passed over: %s\n", death.folder.c_str(),
                                 death.module.c_str());
            }
            std::fflush(stderr);
            r.misses.clear();
            r.diedInTrial.clear();
        }
    } stop{r};
    programBinding();
}

}  // namespace fw
