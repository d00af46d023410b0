#pragma once
// What the framework's core tests share: one Qt application object for the tests that need
// widgets, and a capture of what the framework writes on stderr.

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace coretest {

// Made on first use and kept for the whole test program; tests that go through a whole run
// of the runtime share it, as a test harness would.
inline QApplication& TestApplication() {
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "framework_core_tests";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Redirects file descriptor 2 into a temporary file until Text() is called.
class StderrCapture {
public:
    StderrCapture() {
        std::fflush(stderr);
        saved_ = ::dup(2);
        file_ = std::tmpfile();
        if (file_) ::dup2(::fileno(file_), 2);
    }
    ~StderrCapture() { Text(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    const std::string& Text() {
        if (saved_ < 0) return text_;
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        saved_ = -1;
        if (file_) {
            std::rewind(file_);
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) text_.append(buffer, n);
            std::fclose(file_);
        }
        return text_;
    }

private:
    int saved_ = -1;
    std::FILE* file_ = nullptr;
    std::string text_;
};

}  // namespace coretest
