// Starts a window program and times its start-up from outside, the same way
// for keyloom and for the bare Qt window:
//   shown    the X server maps the program's first top-level window of at
//            least the given size;
//   reports  (with --trace FILE) every line the program appends to its report
//            trace, stamped as it lands: the first request, the reply that
//            ends the full read (the first reply matching --done after one
//            matching --after), how many requests lay between them and how
//            many of those carry the protocol's fixed 10 ms pause.
// Prints one line of "name value" pairs and leaves the program running (its
// output goes to /dev/null):
//   shown_ms 41.2 pid 1234 [first_report_ms 20.1 read_done_ms 35.3 exchanges 410 pauses 3
//                           longest_wait_ms 4.1]
//
//   bench_startup_watch [--trace FILE] [--after REGEX] [--done REGEX] [--gaps N]
//                       [--min-size WxH] -- PROGRAM ARGS...
// --gaps N also lists the N longest waits between trace lines on stderr.
//
// Times run from just before the program is started. Needs $DISPLAY (Xvfb).

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Options {
    std::string trace;
    // The full read ends with the End (command 02) that closes the
    // lighting-record reads, after the reply to the third of them (command
    // 05 at offset 84): that End's 10 ms pause is part of the read too.
    std::string after = "^< 04.{4}05..5400";
    std::string done = "^< 04.{4}02";
    std::size_t gaps = 0;
    unsigned minWidth = 640;
    unsigned minHeight = 400;
    std::vector<char*> program;
};

bool parse(int argc, char** argv, Options& options) {
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return false;
        if (arg == "--trace")
            options.trace = argv[++i];
        else if (arg == "--gaps")
            options.gaps = static_cast<std::size_t>(std::atoi(argv[++i]));
        else if (arg == "--after")
            options.after = argv[++i];
        else if (arg == "--done")
            options.done = argv[++i];
        else if (arg == "--min-size") {
            if (std::sscanf(argv[++i], "%ux%u", &options.minWidth, &options.minHeight) != 2)
                return false;
        } else
            return false;
    }
    for (++i; i < argc; ++i)
        options.program.push_back(argv[i]);
    options.program.push_back(nullptr);
    return options.program.size() > 1;
}

// Follows the report trace: reads what was appended since the last call and
// keeps the figures of the lines seen so far.
class TraceFollower {
public:
    TraceFollower(const std::string& path, const std::string& after, const std::string& done)
        : path_(path), after_(after), done_(done) {}

    bool active() const { return !path_.empty(); }
    bool finished() const { return readDoneMs_ >= 0; }

    void poll(Clock::time_point start) {
        if (fd_ < 0)
            fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0)
            return;
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n <= 0)
                break;
            pending_.append(chunk, static_cast<std::size_t>(n));
        }
        const double now = msSince(start);
        std::size_t end;
        while (!finished() && (end = pending_.find('\n')) != std::string::npos) {
            line(pending_.substr(0, end), now);
            pending_.erase(0, end + 1);
        }
    }

    void print() const {
        std::printf(
            " first_report_ms %.2f read_done_ms %.2f exchanges %d pauses %d longest_wait_ms %.2f",
            firstReportMs_, readDoneMs_, exchanges_, pauses_, longestWait());
    }

    // The longest time between two trace lines other than a fixed pause.
    double longestWait() const {
        double longest = 0;
        for (std::size_t i = 1; i < lines_.size(); ++i) {
            if (!isPause(lines_[i].second))
                longest = std::max(longest, lines_[i].first - lines_[i - 1].first);
        }
        return longest;
    }

    // The longest waits between two trace lines, to stderr: where the time
    // between the first request and the end of the read went.
    void printGaps(std::size_t count) const {
        std::vector<std::pair<double, std::size_t>> gaps;
        for (std::size_t i = 1; i < lines_.size(); ++i)
            gaps.emplace_back(lines_[i].first - lines_[i - 1].first, i);
        std::sort(gaps.rbegin(), gaps.rend());
        for (std::size_t i = 0; i < gaps.size() && i < count; ++i) {
            const auto& [gap, at] = gaps[i];
            std::fprintf(stderr, "gap %.2f ms at %.2f ms before line %zu: %.24s\n", gap,
                         lines_[at].first, at + 1, lines_[at].second.c_str());
        }
    }

private:
    // Requests End (command 2) and command 12 wait 10 ms before they go.
    static bool isPause(const std::string& text) {
        if (text.rfind("> ", 0) != 0 || text.size() < 10)
            return false;
        const std::string command = text.substr(2 + 6, 2);  // byte 3
        return command == "02" || command == "0c";
    }

    void line(const std::string& text, double now) {
        lines_.emplace_back(now, text);
        if (text.rfind("> ", 0) == 0) {
            if (exchanges_++ == 0)
                firstReportMs_ = now;
            if (isPause(text))
                ++pauses_;
        } else if (!afterSeen_) {
            afterSeen_ = std::regex_search(text, after_);
        } else if (std::regex_search(text, done_)) {
            readDoneMs_ = now;
        }
    }

    std::string path_;
    std::regex after_;
    std::regex done_;
    bool afterSeen_ = false;
    int fd_ = -1;
    std::string pending_;
    int exchanges_ = 0;
    int pauses_ = 0;
    double firstReportMs_ = -1;
    double readDoneMs_ = -1;
    std::vector<std::pair<double, std::string>> lines_;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s [--trace FILE] [--after REGEX] [--done REGEX] [--gaps N] "
                     "[--min-size WxH] -- "
                     "PROGRAM ARGS...\n",
                     argv[0]);
        return 2;
    }
    // Right after the previous measured program was killed, Xvfb now and
    // then hangs up on a new client before its set-up reply; a moment later
    // it accepts again, so the connection is tried for up to two seconds.
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    for (int attempt = 0; xcb_connection_has_error(x) && attempt < 40; ++attempt) {
        xcb_disconnect(x);
        usleep(50'000);
        x = xcb_connect(nullptr, nullptr);
    }
    if (const int error = xcb_connection_has_error(x)) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr, "startup_watch: cannot connect to X display %s (xcb error %d)\n",
                     display ? display : "(unset)", error);
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    TraceFollower trace(options.trace, options.after, options.done);
    int notify = -1;
    if (trace.active()) {
        // The trace is watched through its folder: the file appears only
        // once the program opens it.
        notify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        std::string folder = options.trace.substr(0, options.trace.rfind('/') + 1);
        ::inotify_add_watch(notify, folder.empty() ? "." : folder.c_str(), IN_MODIFY | IN_CREATE);
    }

    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // The program must not hold our output open: callers read it to the end.
        ::close(xcb_get_file_descriptor(x));
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0)
            ::dup2(null, STDOUT_FILENO);
        ::execvp(options.program[0], options.program.data());
        std::_Exit(127);
    }

    std::map<xcb_window_t, bool> bigEnough;
    double shownMs = -1;
    const Clock::time_point limit = start + std::chrono::seconds(20);
    while ((shownMs < 0 || (trace.active() && !trace.finished())) && Clock::now() < limit) {
        pollfd fds[2] = {{xcb_get_file_descriptor(x), POLLIN, 0}, {notify, POLLIN, 0}};
        ::poll(fds, notify >= 0 ? 2 : 1, 100);
        if (fds[1].revents & POLLIN) {
            char events[4096];
            while (::read(notify, events, sizeof events) > 0) {
            }
            trace.poll(start);
        }
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const auto type = event->response_type & 0x7F;
            if (type == XCB_CREATE_NOTIFY) {
                auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
                bigEnough[created->window] =
                    created->width >= options.minWidth && created->height >= options.minHeight;
            } else if (type == XCB_CONFIGURE_NOTIFY) {
                auto* configured = reinterpret_cast<xcb_configure_notify_event_t*>(event);
                bigEnough[configured->window] = configured->width >= options.minWidth &&
                                                configured->height >= options.minHeight;
            } else if (type == XCB_MAP_NOTIFY && shownMs < 0) {
                auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (bigEnough[mapped->window])
                    shownMs = msSince(start);
            }
            std::free(event);
        }
        if (xcb_connection_has_error(x))
            break;
    }
    if (trace.active())
        trace.poll(start);
    std::printf("shown_ms %.2f pid %d", shownMs, static_cast<int>(pid));
    if (trace.active())
        trace.print();
    std::printf("\n");
    std::fflush(stdout);
    if (trace.active())
        trace.printGaps(options.gaps);
    xcb_disconnect(x);
    return shownMs >= 0 ? 0 : 1;
}
