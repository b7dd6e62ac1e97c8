// idle_bench: the processor time the program takes while nobody uses it.
// The program is started headless on a script that leaves it waiting
// (held, in real time), on the demo structure and over an alert; with a
// display (DISPLAY set, for instance under xvfb-run) also live on the
// demo. Each waits SECONDS (5 by default) once it is idle; its processor
// time over that span is read from /proc and given in seconds and as a
// share of one core. The peer, in the same run: a process that wakes at
// every tick (60 a second) and does nothing else, which is what a loop
// that polls costs before it does any work. Another build of the program
// (an older one, to compare) is measured with --program.
//   idle_bench [SECONDS] [--program PATH]
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Processor time of a live process in seconds (user and system), from the
// scheduler's count in nanoseconds.
double CpuSeconds(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
    unsigned long long ns = 0;
    in >> ns;
    return in ? double(ns) / 1e9 : -1;
}

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

struct Run {
    std::string name;
    double cpu = -1;
    int status = -1;
};

// Starts the program in `folder` with these arguments and environment
// additions, waits until it has made its preferences file and settled,
// measures, then asks it to quit (SIGTERM) and collects its status.
const char* gProgram = QZ_PROGRAM;

Run Measure(const std::string& name, const std::string& folder, const std::vector<std::string>& args,
            const std::vector<std::string>& env, double seconds)
{
    Run run{name};
    fs::create_directories(folder + "/prefs");
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(127);
        setenv("QZ_PREFERENCES_DIR", (folder + "/prefs").c_str(), 1);
        for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(gProgram));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(gProgram, argv.data());
        _exit(127);
    }
    const std::string prefs = folder + "/prefs/Qz Structure Browser Preferences";
    for (int i = 0; i < 600 && !fs::exists(prefs); ++i) Sleep(0.05);
    Sleep(2.0);  // the structure read, the window drawn
    const double before = CpuSeconds(pid);
    Sleep(seconds);
    const double after = CpuSeconds(pid);
    if (before >= 0 && after >= 0) run.cpu = after - before;
    // A program that does not end within 10 s of SIGTERM is killed; its
    // status then says so (128 + 9).
    kill(pid, SIGTERM);
    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 200 && done == 0; ++i) {
        done = waitpid(pid, &status, WNOHANG);
        if (done == 0) Sleep(0.05);
    }
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

// The peer: a process waking 60 times a second with nothing to do.
Run Ticker(double seconds)
{
    Run run{"a loop waking every tick"};
    const pid_t pid = fork();
    if (pid == 0) {
        struct timespec tick{0, 16666667};
        for (;;) nanosleep(&tick, nullptr);
    }
    Sleep(0.2);
    const double before = CpuSeconds(pid);
    Sleep(seconds);
    run.cpu = CpuSeconds(pid) - before;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    run.status = 0;
    return run;
}

void CopyDemo(const std::string& to)
{
    fs::create_directories(to);
    for (const auto& e : fs::directory_iterator(QZ_DEMO_FOLDER))
        if (e.is_regular_file()) fs::copy_file(e.path(), to + "/" + e.path().filename().string());
}

}  // namespace

int main(int argc, char** argv)
{
    double seconds = 5.0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--program" && i + 1 < argc)
            gProgram = argv[++i];
        else
            seconds = std::atof(argv[i]);
    }
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: idle_bench [SECONDS] [--program PATH]\n");
        return 2;
    }
    const std::string work = fs::temp_directory_path().string() + "/qz_idle_bench." + std::to_string(getpid());
    fs::remove_all(work);
    fs::create_directories(work);
    {
        std::ofstream(work + "/hold.txt") << "idle\nhold\n";
        std::ofstream(work + "/notes.txt") << "not a document\n";
    }
    const std::string script = "QZ_SCRIPT=" + work + "/hold.txt";
    std::vector<Run> runs;
    CopyDemo(work + "/demo");
    runs.push_back(Measure("headless, the demo open", work + "/demo", {work + "/demo/Demo.QzB"}, {script}, seconds));
    runs.push_back(Measure("headless, over an alert", work + "/alert", {work + "/notes.txt"}, {script}, seconds));
    if (const char* display = std::getenv("DISPLAY"); display && *display) {
        CopyDemo(work + "/live");
        runs.push_back(Measure("live, the demo open", work + "/live", {work + "/live/Demo.QzB"},
                               {"SDL_AUDIODRIVER=dummy"}, seconds));
    }
    const Run peer = Ticker(seconds);
    fs::remove_all(work);

    std::printf("%s idle for %.1f s: processor time and share of one core\n", gProgram, seconds);
    std::printf("%-28s %12s %10s %8s %s\n", "", "cpu s", "core", "ratio", "exit after SIGTERM");
    for (const Run& r : runs) {
        // A run whose program did not live through the span, or did not
        // quit as asked, measured nothing worth a figure.
        if (r.status != 0 || r.cpu < 0) {
            std::fprintf(stderr, "idle_bench: %s: %s (exit status %d)\n", r.name.c_str(),
                         r.cpu < 0 ? "the program ended before it was measured" : "the program did not quit as asked",
                         r.status);
            continue;
        }
        std::printf("%-28s %12.4f %9.3f%% %8.2f %d\n", r.name.c_str(), r.cpu, 100.0 * r.cpu / seconds,
                    peer.cpu > 0 ? r.cpu / peer.cpu : 0.0, r.status);
    }
    std::printf("%-28s %12.4f %9.3f%%\n", peer.name.c_str(), peer.cpu, 100.0 * peer.cpu / seconds);
    if (!std::getenv("DISPLAY")) std::printf("(no display: run under xvfb-run for the live figure)\n");
    bool ok = true;
    for (const Run& r : runs) ok = ok && r.status == 0 && r.cpu >= 0;
    return ok ? 0 : 1;
}
