#pragma once
// A function run in a forked child process that reports through a pipe and ends with _exit.
#include <cerrno>
#include <csignal>
#include <functional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumo::test {

class ChildProcess {
public:
    // body(report, goOn): readByte() reads its reports, WaitForParent(goOn) returns at goOn().
    explicit ChildProcess(const std::function<int(int reportFd, int goOnFd)>& body) {
        int report[2], goOn[2];
        if (::pipe(report) != 0 || ::pipe(goOn) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(report[0]);
            ::close(goOn[1]);
            ::_exit(body(report[1], goOn[0]));
        }
        ::close(report[1]);
        ::close(goOn[0]);
        readFd_ = report[0];
        goOnFd_ = goOn[1];
    }
    ~ChildProcess() {
        kill(SIGKILL);
        wait();
        ::close(readFd_);
        goOn();
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    void goOn() {
        if (goOnFd_ >= 0)
            ::close(goOnFd_);
        goOnFd_ = -1;
    }
    // The next byte the child reported, or -1 when it ended without one.
    int readByte() {
        unsigned char b = 0;
        ssize_t n;
        while ((n = ::read(readFd_, &b, 1)) < 0 && errno == EINTR)
            continue;
        return n == 1 ? b : -1;
    }
    void kill(int signal) {
        if (pid_ > 0 && !reaped_)
            ::kill(pid_, signal);
    }
    // Waits for the end; the raw wait status (or the one seen before).
    int wait() {
        while (pid_ > 0 && !reaped_)
            reaped_ = ::waitpid(pid_, &status_, 0) >= 0 || errno != EINTR;
        return status_;
    }

private:
    pid_t pid_ = -1;
    int readFd_ = -1, goOnFd_ = -1, status_ = 0;
    bool reaped_ = false;
};

inline void Report(int fd, unsigned char b) {
    while (::write(fd, &b, 1) < 0 && errno == EINTR)
        continue;
}

// In the child: Report() writes a byte to the report pipe, WaitForParent() waits for goOn().
inline void WaitForParent(int goOnFd) {
    char c;
    while (::read(goOnFd, &c, 1) < 0 && errno == EINTR)
        continue;
}

} // namespace lumo::test
