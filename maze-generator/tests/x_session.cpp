#include "x_session.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <poll.h>
#include <sys/types.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

App app_start(const char *exe, const std::vector<std::string> &env) {
    App app;
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return app;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    // The given variables replace any of the same name.
    std::vector<std::string> all(env);
    for (char **e = environ; *e; e++) {
        std::string_view name(*e, std::strcspn(*e, "="));
        bool replaced = false;
        for (const std::string &v : env)
            replaced = replaced || v.starts_with(std::string(name) + "=");
        if (!replaced) all.push_back(*e);
    }
    std::vector<char *> envp;
    for (auto &s : all) envp.push_back(s.data());
    envp.push_back(nullptr);
    char *argv[] = {const_cast<char *>(exe), nullptr};
    if (posix_spawn(&app.pid, exe, &actions, nullptr, argv, envp.data()) != 0) app.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    app.out_fd = out[0];
    app.err_fd = err[0];
    return app;
}

std::optional<std::string> app_line(App &app, int timeout_ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        size_t nl = app.pending.find('\n');
        if (nl != std::string::npos) {
            std::string line = app.pending.substr(0, nl);
            app.pending.erase(0, nl + 1);
            return line;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0) return std::nullopt;
        pollfd p = {app.out_fd, POLLIN, 0};
        if (poll(&p, 1, int(left)) <= 0) continue;
        char buf[512];
        ssize_t n = read(app.out_fd, buf, sizeof buf);
        if (n <= 0) return std::nullopt;
        app.pending.append(buf, size_t(n));
    }
}

int app_wait(App &app, int timeout_ms) {
    for (int waited = 0; waited <= timeout_ms; waited += 20) {
        int status = 0;
        if (waitpid(app.pid, &status, WNOHANG) == app.pid) {
            app.pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        usleep(20000);
    }
    app_kill(app);
    return -1;
}

std::string app_stderr(App &app) {
    std::string text;
    char buf[512];
    ssize_t n;
    while ((n = read(app.err_fd, buf, sizeof buf)) > 0) text.append(buf, size_t(n));
    return text;
}

void app_kill(App &app) {
    if (app.pid > 0) {
        kill(app.pid, SIGKILL);
        waitpid(app.pid, nullptr, 0);
        app.pid = -1;
    }
}

std::string sh(const std::string &cmd) {
    std::string out;
    if (FILE *f = popen(cmd.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        pclose(f);
    }
    return out;
}

// Binary PPM (P6) as import writes it.
static Shot parse_ppm(const std::string &data) {
    Shot s;
    int maxval = 0, used = 0;
    if (std::sscanf(data.c_str(), "P6 %d %d %d%n", &s.w, &s.h, &maxval, &used) != 3 ||
        maxval != 255)
        return {};
    size_t start = size_t(used) + 1; // one whitespace byte after the header
    size_t size = size_t(s.w) * s.h * 3;
    if (data.size() < start + size) return {};
    s.rgb.assign(data.begin() + long(start), data.begin() + long(start + size));
    return s;
}

Shot screenshot(const std::string &window) {
    return parse_ppm(sh("import -window " + window + " -depth 8 ppm:- 2>/dev/null"));
}

Shot read_picture(const std::string &path) {
    return parse_ppm(sh("convert '" + path + "' -depth 8 ppm:- 2>/dev/null"));
}
