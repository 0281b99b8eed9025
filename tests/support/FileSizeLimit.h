#pragma once

#include <csignal>
#include <sys/resource.h>

namespace lobex::test {

// Caps the size of the files this process writes, the way a full disk stops a write, for as long
// as it lives. A write past the cap fails with EFBIG; the signal that would otherwise end the
// process meanwhile is ignored. Unlike permissions, the cap holds for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        if (getrlimit(RLIMIT_FSIZE, &previous_) == 0) {
            rlimit capped = previous_;
            capped.rlim_cur = bytes;
            active_ = setrlimit(RLIMIT_FSIZE, &capped) == 0;
        }
    }
    ~FileSizeLimit() {
        if (active_) {
            setrlimit(RLIMIT_FSIZE, &previous_);
        }
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool Active() const { return active_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

} // namespace lobex::test
