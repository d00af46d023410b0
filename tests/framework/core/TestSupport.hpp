#pragma once
// What the framework's core tests share besides the application object (QtTestProgram.hpp):
// a capture of what the framework writes on stderr.

#include <cstdio>
#include <string>
#include <unistd.h>

namespace coretest {

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
