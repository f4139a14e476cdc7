// The built game run with pipes for its input, output and error.
#include "piped_game.hpp"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "child_environment.hpp"

namespace tg::e2e {

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMilliseconds(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

}  // namespace

PipedGame::PipedGame(const Options& options) : outputLimit_(options.outputLimit) {
    // A game that has gone shows up as a failed write, not as a signal.
    std::signal(SIGPIPE, SIG_IGN);
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    if (options.nonBlockingInput) fcntl(in[0], F_SETFL, fcntl(in[0], F_GETFL) | O_NONBLOCK);
    ChildCommand command(GameBinary(), options.arguments, options.environment);
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        setsid();  // no controlling terminal: the game sees pipes only
        RestoreDefaultSignals();
        NoCoreFiles();
        execve(command.Argv()[0], command.Argv(), command.Envp());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    input_ = in[1];
    output_fd_ = out[0];
    errors_fd_ = err[0];
    if (options.closedOutput) {
        close(output_fd_);
        output_fd_ = -1;
    }
    for (int fd : {input_, output_fd_, errors_fd_}) {
        if (fd >= 0) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
}

PipedGame::~PipedGame() {
    if (!ended_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
    for (int fd : {input_, output_fd_, errors_fd_}) {
        if (fd >= 0) close(fd);
    }
}

void PipedGame::Reap() {
    if (ended_) return;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        ended_ = true;
        status_ = status;
    }
}

// Reads whatever output is there, waiting at most the given time.
void PipedGame::Pump(int milliseconds) {
    pollfd ready[2] = {{output_fd_, POLLIN, 0}, {errors_fd_, POLLIN, 0}};
    if (output_fd_ < 0 && errors_fd_ < 0) {
        // Nothing left to read: only the end of the process is awaited.
        Reap();
        if (!ended_) poll(nullptr, 0, std::min(milliseconds, 10));
        return;
    }
    poll(ready, 2, milliseconds);
    int* fds[2] = {&output_fd_, &errors_fd_};
    std::string* sinks[2] = {&output_, &errors_};
    for (int i = 0; i < 2; ++i) {
        if (*fds[i] < 0 || !(ready[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        char buffer[65536];
        const ssize_t count = read(*fds[i], buffer, sizeof buffer);
        if (count > 0) {
            sinks[i]->append(buffer, static_cast<std::size_t>(count));
            if (sinks[i]->size() > outputLimit_ && !overflowed_) {
                // Far more than any game writes for its input: stop it.
                overflowed_ = true;
                kill(pid_, SIGKILL);
            }
        } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
            close(*fds[i]);
            *fds[i] = -1;
        }
    }
    if (output_fd_ < 0 && errors_fd_ < 0) Reap();
}

bool PipedGame::Type(const std::string& bytes) {
    std::size_t done = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(10'000);
    while (done < bytes.size() && input_ >= 0) {
        const ssize_t count = write(input_, bytes.data() + done, bytes.size() - done);
        if (count > 0) {
            done += static_cast<std::size_t>(count);
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && errno == EAGAIN && Clock::now() < deadline) {
            Pump(1);  // the game reads on while its output is collected
            pollfd ready{input_, POLLOUT, 0};
            poll(&ready, 1, 10);
            continue;
        }
        return false;  // EPIPE (SIGPIPE is ignored in the test) or no progress
    }
    return done == bytes.size();
}

void PipedGame::CloseOutput() {
    if (output_fd_ >= 0) close(output_fd_);
    output_fd_ = -1;
}

void PipedGame::CloseInput() {
    if (input_ >= 0) close(input_);
    input_ = -1;
}

bool PipedGame::WaitForOutput(const std::string& text, std::size_t from, std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    for (;;) {
        if (output_.size() > from && output_.find(text, from) != std::string::npos) return true;
        if (ended_ || (output_fd_ < 0 && errors_fd_ < 0) || Clock::now() >= deadline) return false;
        Pump(std::min(RemainingMilliseconds(deadline), 50));
    }
}

std::optional<int> PipedGame::WaitForExit(std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (!ended_ && Clock::now() < deadline) Pump(std::min(RemainingMilliseconds(deadline), 50));
    if (ended_) {
        // The process may end before the pipes are read dry.
        while (output_fd_ >= 0 || errors_fd_ >= 0) Pump(50);
        return status_;
    }
    return std::nullopt;
}

PipedResult RunPiped(const std::vector<std::string>& arguments, const std::string& input,
                     std::chrono::milliseconds patience, const std::vector<std::string>& environment) {
    PipedGame::Options options{arguments};
    options.environment = environment;
    PipedGame game(options);
    const auto deadline = Clock::now() + patience;
    game.Type(input);
    game.CloseInput();
    PipedResult result;
    result.status = game.WaitForExit(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
    result.output = game.Output();
    result.errors = game.Errors();
    result.overflowed = game.OutputOverflowed();
    return result;
}

}  // namespace tg::e2e
