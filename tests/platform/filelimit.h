#pragma once
// A full disk, made in the test: while a FileSizeLimit lives, no file of this process can grow
// past the given size, and a write beyond it fails (EFBIG) as it would with ENOSPC. Pipes and
// terminals are not affected, so test output still gets through.
#include <csignal>
#include <sys/resource.h>

namespace testfixture {

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
};

} // namespace testfixture
