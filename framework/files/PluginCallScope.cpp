#include "PluginCallScope.hpp"

#include "Plugins.hpp"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace fw {

namespace {

// The signals that end a process which does not catch them, and that a module's own fault
// raises: a bad access, a bad instruction or division, an abort, a refused system call.
constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGSYS};
constexpr std::size_t kFatalSignalCount = std::size(kFatalSignals);

// What the handler reads. The texts are made before the handler is installed, and the notes
// before a call begins; neither changes or goes away afterwards, so the handler reads them
// without a lock from whatever thread the signal arrives on.
struct FatalSignal {
    std::string start;  // "radixel: killed by signal 11 (Segmentation fault)"
    struct sigaction previous {};
};
FatalSignal fatalSignals[kFatalSignalCount];

std::atomic<int> callsInProgress{0};
// The rest of the line for the call begun last: " during a call into ...\n".
std::atomic<const std::string*> currentNote{nullptr};

// The line goes out in one write, so that two threads that fail at once do not mix theirs.
void writeLine(const std::string& start, const std::string& note) {
    char line[512];
    const std::size_t startSize = std::min(start.size(), sizeof line);
    std::memcpy(line, start.data(), startSize);
    const std::size_t noteSize = std::min(note.size(), sizeof line - startSize);
    std::memcpy(line + startSize, note.data(), noteSize);
    for (const char* next = line; next < line + startSize + noteSize;) {
        const ssize_t put = write(STDERR_FILENO, next, static_cast<std::size_t>(line + startSize + noteSize - next));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return;
        next += put;
    }
}

// Only async-signal-safe calls here: memcpy, write, sigaction, raise.
void onFatalSignal(int signal, siginfo_t* info, void*) {
    const int savedErrno = errno;
    std::size_t i = 0;
    while (i < kFatalSignalCount && kFatalSignals[i] != signal) ++i;
    if (i == kFatalSignalCount) return;
    if (callsInProgress.load() > 0)
        if (const std::string* note = currentNote.load()) writeLine(fatalSignals[i].start, *note);
    // From here on the signal takes its course as if this handler had never been there. A fault
    // comes back when the faulting instruction runs again on return, with its own details for
    // whatever handled it before (a sanitizer, or the default that ends the process). A signal
    // that was sent, and a refused system call, which would not come back, are raised again,
    // and arrive once this handler returns.
    sigaction(signal, &fatalSignals[i].previous, nullptr);
    if (!info || info->si_code <= 0 || signal == SIGSYS) raise(signal);
    errno = savedErrno;
}

void installHandlers() {
    for (std::size_t i = 0; i < kFatalSignalCount; ++i) {
        const char* name = strsignal(kFatalSignals[i]);
        fatalSignals[i].start = "radixel: killed by signal " + std::to_string(kFatalSignals[i]) +
                                (name ? std::string(" (") + name + ")" : std::string());
    }
    for (std::size_t i = 0; i < kFatalSignalCount; ++i) {
        struct sigaction action {};
        action.sa_sigaction = &onFatalSignal;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        sigaction(kFatalSignals[i], &action, &fatalSignals[i].previous);
    }
}

// A stack of its own for the handler in each thread that calls into a module, so that a module
// that overflows the thread's stack is named too. A thread that has one already (a sanitizer
// gives every thread one) keeps it.
class HandlerStack {
public:
    HandlerStack() {
        stack_t current{};
        if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE)) return;
        const std::size_t size = std::max<std::size_t>(kMinimumSize, static_cast<std::size_t>(sysconf(_SC_SIGSTKSZ)));
        memory_ = std::make_unique<char[]>(size);
        stack_t own{};
        own.ss_sp = memory_.get();
        own.ss_size = size;
        if (sigaltstack(&own, nullptr) != 0) memory_.reset();
    }
    ~HandlerStack() {
        if (!memory_) return;
        stack_t off{};
        off.ss_flags = SS_DISABLE;
        sigaltstack(&off, nullptr);
    }
    HandlerStack(const HandlerStack&) = delete;
    HandlerStack& operator=(const HandlerStack&) = delete;

private:
    static constexpr std::size_t kMinimumSize = 64 * 1024;
    std::unique_ptr<char[]> memory_;
};

std::string moduleOf(const void* entry) {
    std::string name = PluginModuleOf(entry);
    return name.empty() ? "(a module that the lookup did not hand out)" : name;
}

// The note for each entry and component, made once.
const std::string* noteFor(const void* entry, const char* component) {
    static std::mutex mutex;
    static std::map<std::pair<const void*, std::string>, std::string> notes;
    std::lock_guard lock(mutex);
    auto key = std::make_pair(entry, std::string(component));
    auto known = notes.find(key);
    if (known == notes.end())
        known = notes.emplace(key, " during a call into " + key.second + " " + moduleOf(entry) + "\n").first;
    return &known->second;
}

}  // namespace

PluginCallScope::PluginCallScope(const void* entry, const char* component) {
    static std::once_flag installed;
    std::call_once(installed, &installHandlers);
    static thread_local HandlerStack stack;
    currentNote.store(noteFor(entry, component));
    callsInProgress.fetch_add(1);
}

PluginCallScope::~PluginCallScope() { callsInProgress.fetch_sub(1); }

}  // namespace fw
