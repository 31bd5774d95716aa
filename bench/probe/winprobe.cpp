// winprobe: starts a windowed program on the X display and measures it from outside, as a
// player's desktop would see it. Nothing in the program under test is instrumented.
//
//   winprobe [--settle-ms N] [--idle-ms N] [--game-ms N] [--slides N] [--show-areas]
//            -- program [args...]
//
// It reports, one "key value" line each:
//   map_ms, first_paint_ms   from just before exec to the first top-level window being
//                            mapped, and to its first painted pixels (a DAMAGE event);
//   map_cpu_ms               CPU time the program's threads had used when it was mapped;
//   rss_kb, anon_kb          resident memory --settle-ms after the map (default 1000);
//   idle_*                   CPU time and context switches of all threads over --idle-ms
//                            (default 5000) right after that;
//   game_*                   with --game-ms: clicks the main window's start button, then
//                            counts context switches and painted frames over that time;
//   slide_*                  with --slides N: arms the game's shortcut to the near-solved
//                            layout, then slides tile 14 right and back N times, and times
//                            the painted frames that touch the board, from the click;
//                            --show-areas lists each frame's damaged rectangles.
//   thread <phase> <tid> <name> <voluntary> <involuntary> <cpu_us>, per thread and phase.
//
// The clicks go through the XTEST extension; the frames are the DAMAGE events of the
// window, that is the moments its pixels reached the X server.
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;

double msBetween(TimePoint from, TimePoint to) { return std::chrono::duration<double, std::milli>(to - from).count(); }

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "winprobe: %s\n", message.c_str());
    std::exit(2);
}

// --- The process, seen through /proc ---

struct ThreadSample {
    std::string name;
    unsigned long long runNs = 0;  // time on a CPU
    unsigned long long voluntary = 0;
    unsigned long long involuntary = 0;
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

unsigned long long statusField(const std::string& status, const std::string& key) {
    const auto at = status.find(key + ":");
    if (at == std::string::npos) return 0;
    return std::strtoull(status.c_str() + at + key.size() + 1, nullptr, 10);
}

std::map<int, ThreadSample> sampleThreads(pid_t pid) {
    std::map<int, ThreadSample> threads;
    std::error_code error;
    const std::filesystem::path taskDir = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& entry : std::filesystem::directory_iterator(taskDir, error)) {
        ThreadSample sample;
        std::string name = readFile(entry.path() / "comm");
        while (!name.empty() && (name.back() == '\n' || name.back() == ' ')) name.pop_back();
        std::replace(name.begin(), name.end(), ' ', '_');
        sample.name = name;
        sample.runNs = std::strtoull(readFile(entry.path() / "schedstat").c_str(), nullptr, 10);
        const std::string status = readFile(entry.path() / "status");
        sample.voluntary = statusField(status, "voluntary_ctxt_switches");
        sample.involuntary = statusField(status, "nonvoluntary_ctxt_switches");
        threads[std::stoi(entry.path().filename().string())] = sample;
    }
    return threads;
}

struct PhaseTotals {
    double cpuMs = 0;
    unsigned long long voluntary = 0;
    unsigned long long involuntary = 0;
    unsigned long long mainVoluntary = 0;
    int threadsBefore = 0;
    int threadsAfter = 0;
};

// The difference between two samples, printed per thread; a thread born in between counts
// from zero, one that ended in between is lost (and shows in the thread counts).
PhaseTotals reportPhase(const char* phase, pid_t pid, const std::map<int, ThreadSample>& before,
                        const std::map<int, ThreadSample>& after) {
    PhaseTotals totals;
    totals.threadsBefore = static_cast<int>(before.size());
    totals.threadsAfter = static_cast<int>(after.size());
    for (const auto& [tid, end] : after) {
        ThreadSample start;
        if (const auto found = before.find(tid); found != before.end()) start = found->second;
        const unsigned long long voluntary = end.voluntary - start.voluntary;
        const unsigned long long involuntary = end.involuntary - start.involuntary;
        const double cpuUs = static_cast<double>(end.runNs - start.runNs) / 1000.0;
        std::printf("thread %s %d %s %llu %llu %.0f\n", phase, tid, end.name.c_str(), voluntary, involuntary, cpuUs);
        totals.cpuMs += cpuUs / 1000.0;
        totals.voluntary += voluntary;
        totals.involuntary += involuntary;
        if (tid == pid) totals.mainVoluntary = voluntary;
    }
    return totals;
}

// --- The X display ---

struct Frame {
    TimePoint time;
    std::vector<xcb_rectangle_t> areas;
};

class Display {
public:
    Display() {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_)) fail("cannot open the X display (is DISPLAY set?)");
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;

        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection_, &xcb_damage_id);
        if (!damage || !damage->present) fail("the X server has no DAMAGE extension");
        damageEventBase_ = damage->first_event;
        free(xcb_damage_query_version_reply(connection_, xcb_damage_query_version(connection_, 1, 1), nullptr));
        const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(connection_, &xcb_test_id);
        if (!xtest || !xtest->present) fail("the X server has no XTEST extension");

        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }
    ~Display() { xcb_disconnect(connection_); }

    // Handles X events until `deadline`, or until `done` says so.
    void pumpUntil(TimePoint deadline, const std::function<bool()>& done = {}) {
        const int fd = xcb_get_file_descriptor(connection_);
        while (!(done && done())) {
            drain();
            if (done && done()) break;
            const double left = msBetween(Clock::now(), deadline);
            if (left <= 0) break;
            pollfd wait{fd, POLLIN, 0};
            poll(&wait, 1, static_cast<int>(std::ceil(left)));
            if (xcb_connection_has_error(connection_)) fail("lost the X display");
        }
    }

    // Called once, as soon as the first top-level window is seen mapped.
    void onMapped(std::function<void()> handler) { onMapped_ = std::move(handler); }

    xcb_window_t mapped() const { return mapped_; }
    TimePoint mappedAt() const { return mappedAt_; }
    bool painted() const { return painted_; }
    TimePoint firstPaintAt() const { return firstPaintAt_; }

    // The frames painted into the mapped window since the last call.
    std::vector<Frame> takeFrames() { return std::exchange(frames_, {}); }

    // The mapped window's top-left corner on the screen and its size.
    xcb_rectangle_t geometry() {
        std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> reply(
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, mapped_), nullptr), &free);
        if (!reply) fail("the window went away");
        std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&free)> origin(
            xcb_translate_coordinates_reply(connection_, xcb_translate_coordinates(connection_, mapped_, root_, 0, 0),
                                            nullptr),
            &free);
        return {origin->dst_x, origin->dst_y, reply->width, reply->height};
    }

    // A left click at a point of the screen; with `twice`, a double click.
    void click(int x, int y, bool twice = false) {
        xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, static_cast<int16_t>(x),
                            static_cast<int16_t>(y), 0);
        for (int i = 0; i < (twice ? 2 : 1); ++i) {
            xcb_test_fake_input(connection_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
            xcb_test_fake_input(connection_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        }
        // A round trip: the input has reached the server when this returns.
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

private:
    void drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            const TimePoint now = Clock::now();
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                // Watched from its creation, so that not even the first paint is missed.
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
                if (created->parent == root_ && !created->override_redirect) {
                    xcb_damage_create(connection_, xcb_generate_id(connection_), created->window,
                                      XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
                    xcb_flush(connection_);
                }
            } else if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (map->event == root_ && !map->override_redirect && mapped_ == XCB_NONE) {
                    mapped_ = map->window;
                    mappedAt_ = now;
                    if (onMapped_) onMapped_();
                }
            } else if (type == damageEventBase_ + XCB_DAMAGE_NOTIFY) {
                const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
                if (mapped_ != XCB_NONE && damage->drawable == mapped_) recordDamage(now, damage->area);
            }
            free(event);
        }
    }

    // Damage reported within a couple of milliseconds belongs to one frame.
    void recordDamage(TimePoint now, xcb_rectangle_t area) {
        if (!painted_) {
            painted_ = true;
            firstPaintAt_ = now;
        }
        if (frames_.empty() || msBetween(lastDamageAt_, now) > 2.0) frames_.push_back({now, {}});
        frames_.back().areas.push_back(area);
        lastDamageAt_ = now;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
    uint8_t damageEventBase_ = 0;
    xcb_window_t mapped_ = XCB_NONE;
    TimePoint mappedAt_;
    bool painted_ = false;
    TimePoint firstPaintAt_;
    TimePoint lastDamageAt_;
    std::vector<Frame> frames_;
    std::function<void()> onMapped_;
};

// --- The game's main window ---

// Points of the client area (below the menu bar), 478 x 526 pixels.
constexpr int kClientHeight = 526;
struct Point {
    int x, y;
};
constexpr Point kStartButton{64 + 153 / 2, 456 + 41 / 2};
constexpr Point kFreeSurface{10, 10};
constexpr Point kBoardMargin{54, 200};  // the board's own 2-pixel rim, left of the first column
constexpr int kBoardLeft = 53, kBoardTop = 32, kBoardSide = 364;
// Cells 14 and 15 of the board, (4,2) and (4,3): centres in client coordinates.
constexpr Point kCell14{kBoardLeft + 92 + 45, kBoardTop + 272 + 45};
constexpr Point kCell15{kBoardLeft + 182 + 45, kBoardTop + 272 + 45};
// The game's slide tick.
constexpr double kSlideTickMs = 15.0;

struct Window {
    Display& display;
    xcb_rectangle_t frame;
    int menuHeight() const { return frame.height - kClientHeight; }
    void click(Point p, bool twice = false) { display.click(frame.x + p.x, frame.y + menuHeight() + p.y, twice); }
    // Whether a damaged area of the window touches the board.
    bool onBoard(const xcb_rectangle_t& area) const {
        const int top = menuHeight() + kBoardTop;
        return area.x < kBoardLeft + kBoardSide && area.x + area.width > kBoardLeft && area.y < top + kBoardSide &&
               area.y + area.height > top;
    }
};

struct Options {
    int settleMs = 1000;
    int idleMs = 5000;
    int gameMs = 0;
    int slides = 0;
    int timeoutMs = 15000;
    bool showAreas = false;
    std::vector<char*> command;
};

Options parse(int argc, char** argv) {
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&] {
            if (i + 1 >= argc) fail("missing value after " + arg);
            return std::atoi(argv[++i]);
        };
        if (arg == "--") {
            ++i;
            break;
        } else if (arg == "--settle-ms")
            options.settleMs = value();
        else if (arg == "--idle-ms")
            options.idleMs = value();
        else if (arg == "--game-ms")
            options.gameMs = value();
        else if (arg == "--slides")
            options.slides = value();
        else if (arg == "--timeout-ms")
            options.timeoutMs = value();
        else if (arg == "--show-areas")
            options.showAreas = true;
        else
            fail("unknown option " + arg);
    }
    for (; i < argc; ++i) options.command.push_back(argv[i]);
    if (options.command.empty()) fail("usage: winprobe [options] -- program [args...]");
    options.command.push_back(nullptr);
    return options;
}

void waitFor(Display& display, int ms) { display.pumpUntil(Clock::now() + std::chrono::milliseconds(ms)); }

void measureGame(Display& display, Window& window, pid_t pid, int gameMs) {
    window.click(kStartButton);
    // The click's own work and the first tick of the clock are over after a second.
    waitFor(display, 1500);
    display.takeFrames();
    const auto before = sampleThreads(pid);
    waitFor(display, gameMs);
    const auto after = sampleThreads(pid);
    const PhaseTotals game = reportPhase("game", pid, before, after);
    const double seconds = gameMs / 1000.0;
    std::printf("game_cpu_ms_per_s %.3f\n", game.cpuMs / seconds);
    std::printf("game_switches_per_s %.2f\n", static_cast<double>(game.voluntary + game.involuntary) / seconds);
    std::printf("game_voluntary_per_s %.2f\n", static_cast<double>(game.voluntary) / seconds);
    std::printf("game_main_voluntary_per_s %.2f\n", static_cast<double>(game.mainVoluntary) / seconds);
    std::printf("game_frames_per_s %.2f\n", static_cast<double>(display.takeFrames().size()) / seconds);
}

void measureSlides(Display& display, Window& window, int slides, bool showAreas) {
    // The shortcut: a double click on the window's surface arms it, one on the board's
    // own surface lays out tiles 1 to 14 in order with the blank on cell 15.
    window.click(kFreeSurface, true);
    waitFor(display, 300);
    window.click(kBoardMargin, true);
    waitFor(display, 500);
    std::vector<double> allIntervals;
    std::vector<double> firstFrames;
    std::vector<std::size_t> framesPerSlide;
    for (int i = 0; i < slides; ++i) {
        display.takeFrames();
        // Tile 14 slides right into cell 15, then back left into cell 14.
        const TimePoint clicked = Clock::now();
        window.click(i % 2 == 0 ? kCell14 : kCell15);
        waitFor(display, 400);
        std::vector<double> times;
        for (const Frame& frame : display.takeFrames()) {
            if (showAreas) {
                std::printf("frame_areas %.2f", msBetween(clicked, frame.time));
                for (const xcb_rectangle_t& a : frame.areas) std::printf(" %dx%d+%d+%d", a.width, a.height, a.x, a.y);
                std::printf("\n");
            }
            if (std::any_of(frame.areas.begin(), frame.areas.end(),
                            [&](const xcb_rectangle_t& a) { return window.onBoard(a); })) {
                times.push_back(msBetween(clicked, frame.time));
            }
        }
        std::printf("slide_frames %zu\n", times.size());
        std::printf("slide_times_ms");
        for (double t : times) std::printf(" %.2f", t);
        std::printf("\n");
        if (!times.empty()) firstFrames.push_back(times.front());
        framesPerSlide.push_back(times.size());
        for (std::size_t k = 1; k < times.size(); ++k) allIntervals.push_back(times[k] - times[k - 1]);
        waitFor(display, 200);
    }
    std::printf("slide_frames_min %zu\nslide_frames_max %zu\n",
                *std::min_element(framesPerSlide.begin(), framesPerSlide.end()),
                *std::max_element(framesPerSlide.begin(), framesPerSlide.end()));
    if (allIntervals.empty()) return;
    double firstSum = 0;
    for (double v : firstFrames) firstSum += v;
    std::printf("slide_first_frame_mean_ms %.2f\n", firstSum / static_cast<double>(firstFrames.size()));
    double sum = 0, squares = 0;
    for (double v : allIntervals) sum += v;
    const double mean = sum / static_cast<double>(allIntervals.size());
    for (double v : allIntervals) squares += (v - mean) * (v - mean);
    std::printf("slide_interval_mean_ms %.2f\n", mean);
    std::printf("slide_interval_min_ms %.2f\n", *std::min_element(allIntervals.begin(), allIntervals.end()));
    std::printf("slide_interval_max_ms %.2f\n", *std::max_element(allIntervals.begin(), allIntervals.end()));
    std::printf("slide_interval_sd_ms %.2f\n", std::sqrt(squares / static_cast<double>(allIntervals.size())));
    // Against the slide's tick: the intervals more than 2 ms off it.
    const auto off = std::count_if(allIntervals.begin(), allIntervals.end(),
                                   [](double v) { return std::abs(v - kSlideTickMs) > 2.0; });
    std::printf("slide_intervals_off_by_2ms %td of %zu\n", off, allIntervals.size());
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    Display display;

    pid_t pid = 0;
    double cpuToMapMs = 0;
    display.onMapped([&] {
        for (const auto& [tid, thread] : sampleThreads(pid)) cpuToMapMs += static_cast<double>(thread.runNs) / 1e6;
    });
    const TimePoint started = Clock::now();
    if (posix_spawnp(&pid, options.command[0], nullptr, nullptr, options.command.data(), environ) != 0) {
        fail(std::string("cannot start ") + options.command[0]);
    }
    auto stop = [&] {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    };

    display.pumpUntil(started + std::chrono::milliseconds(options.timeoutMs),
                      [&] { return display.mapped() != XCB_NONE && display.painted(); });
    if (display.mapped() == XCB_NONE) {
        stop();
        fail("no window was mapped");
    }
    std::printf("map_ms %.2f\n", msBetween(started, display.mappedAt()));
    std::printf("map_cpu_ms %.2f\n", cpuToMapMs);
    if (display.painted()) std::printf("first_paint_ms %.2f\n", msBetween(started, display.firstPaintAt()));

    display.pumpUntil(display.mappedAt() + std::chrono::milliseconds(options.settleMs));
    const std::string status = readFile("/proc/" + std::to_string(pid) + "/status");
    std::printf("rss_kb %llu\n", statusField(status, "VmRSS"));
    std::printf("anon_kb %llu\n", statusField(status, "RssAnon"));

    display.takeFrames();
    const auto idleStart = sampleThreads(pid);
    waitFor(display, options.idleMs);
    const auto idleEnd = sampleThreads(pid);
    const PhaseTotals idle = reportPhase("idle", pid, idleStart, idleEnd);
    std::printf("threads %d\n", idle.threadsAfter);
    if (idle.threadsBefore != idle.threadsAfter) std::printf("threads_at_idle_start %d\n", idle.threadsBefore);
    std::printf("idle_cpu_ms %.3f\n", idle.cpuMs);
    std::printf("idle_switches %llu\n", idle.voluntary + idle.involuntary);
    std::printf("idle_voluntary %llu\n", idle.voluntary);
    std::printf("idle_frames %zu\n", display.takeFrames().size());

    if (options.gameMs > 0 || options.slides > 0) {
        Window window{display, display.geometry()};
        if (options.gameMs > 0) measureGame(display, window, pid, options.gameMs);
        if (options.slides > 0) {
            if (options.gameMs == 0) {
                window.click(kStartButton);
                waitFor(display, 500);
            }
            measureSlides(display, window, options.slides, options.showAreas);
        }
    }

    std::fflush(stdout);
    stop();
    return 0;
}
