// Stands in for xdotool while road_bench drives the end-to-end road: the
// road's keys, typed texts and clicks go to the bench, which sends them to
// the X server itself and times what the program draws after each; every
// other command (searches, focus, mouse moves) runs the real xdotool.
//
// The bench names its socket in PXBENCH_ROAD_SOCKET and the real program in
// PXBENCH_REAL_XDOTOOL. A request is one line of fields apart by tabs: the
// display, then "key" and the keys, "type" and the text, or "click", the
// button, the repeats, the delay in ms and the place clicked; the bench
// answers "ok", or "no" for a request it cannot send (then the real xdotool
// does it, untimed).
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

[[noreturn]] void run_real(char** argv) {
    const char* real = std::getenv("PXBENCH_REAL_XDOTOOL");
    if (real == nullptr) {
        std::fprintf(stderr, "road_xdotool: PXBENCH_REAL_XDOTOOL not set\n");
        _exit(127);
    }
    argv[0] = const_cast<char*>(real);
    ::execv(real, argv);
    std::perror(real);
    _exit(127);
}

// The real xdotool with argv[1..end), waited for: its exit status.
int run_real_part(char** argv, int end) {
    std::vector<char*> args(argv, argv + end);
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) run_real(args.data());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// Sends the request to the bench: true once it answered "ok".
bool ask_bench(const std::string& request) {
    const char* path = std::getenv("PXBENCH_ROAD_SOCKET");
    const char* display = std::getenv("DISPLAY");
    if (path == nullptr || display == nullptr) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::snprintf(a.sun_path, sizeof a.sun_path, "%s", path);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        if (fd >= 0) ::close(fd);
        return false;
    }
    const std::string line = std::string(display) + "\t" + request + "\n";
    bool ok = ::send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
    char answer[3] = {};
    ok = ok && ::recv(fd, answer, 2, MSG_WAITALL) == 2 && std::strcmp(answer, "ok") == 0;
    ::close(fd);
    return ok;
}

// Skips the options the road uses (--delay N, --repeat N), taking their
// values; false at an option the bench does not know.
bool options(int argc, char** argv, int* i, int* delay, int* repeat) {
    while (*i < argc && std::strncmp(argv[*i], "--", 2) == 0) {
        if (*i + 1 >= argc) return false;
        if (std::strcmp(argv[*i], "--delay") == 0) *delay = std::atoi(argv[*i + 1]);
        else if (std::strcmp(argv[*i], "--repeat") == 0) *repeat = std::atoi(argv[*i + 1]);
        else return false;
        *i += 2;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) run_real(argv);
    const std::string command = argv[1];
    int i = 2, delay = 0, repeat = 1;
    if (command == "key" || command == "type") {
        if (!options(argc, argv, &i, &delay, &repeat) || i >= argc) run_real(argv);
        std::string request = command;
        for (; i < argc; ++i) request += std::string("\t") + argv[i];
        if (ask_bench(request)) return 0;
        run_real(argv);
    }
    // mousemove ... click [--repeat N] [--delay D] BUTTON: the move by the real
    // xdotool, the click by the bench.
    int click = 0;
    for (int k = 2; k < argc && click == 0; ++k)
        if (std::strcmp(argv[k], "click") == 0) click = k;
    if (command != "mousemove" || click == 0) run_real(argv);
    i = click + 1;
    delay = 100;
    if (!options(argc, argv, &i, &delay, &repeat) || i + 1 != argc) run_real(argv);
    if (const int status = run_real_part(argv, click); status != 0) return status;
    // The place, as the road gives it: the two numbers before "click".
    const std::string place = click >= 4 ? std::string(argv[click - 2]) + "," + argv[click - 1] : "";
    const std::string request = "click\t" + std::string(argv[i]) + "\t" + std::to_string(repeat) + "\t" +
                                std::to_string(delay) + "\t" + place;
    if (ask_bench(request)) return 0;
    std::vector<char*> rest{argv[0]};
    for (int k = click; k < argc; ++k) rest.push_back(argv[k]);
    rest.push_back(nullptr);
    run_real(rest.data());
}
