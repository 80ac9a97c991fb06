// Virtual game controllers inside the running game, for its end-to-end test.
// Loaded with LD_PRELOAD: after every presented frame it applies the next
// line of the file named by PAD_SHIM_COMMANDS on the game's own thread, so
// the game sees controllers plugged in and moved exactly as SDL reports real
// ones. The game itself carries nothing for this. One line a frame: a press
// and its release never meet in one joystick update, where they would cancel.
//
//   attach              plug in the next pad (numbered 0, 1, ... in order)
//   axis PAD AXIS VALUE set a stick or trigger (game-controller axis order)
//   button PAD BUTTON 0|1
//   detach PAD          unplug it
#include <SDL2/SDL.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr int MAX_SHIM_PADS = 4;
std::array<SDL_Joystick *, MAX_SHIM_PADS> pads{};
int pads_attached = 0;
int commands_fd = -2; // -2 not yet opened, -1 none
std::string pending;

int device_index_of(SDL_Joystick *j) {
    SDL_JoystickID id = SDL_JoystickInstanceID(j);
    for (int i = 0; i < SDL_NumJoysticks(); i++)
        if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
    return -1;
}

void attach() {
    if (pads_attached == MAX_SHIM_PADS) return;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "pad_shim virtual controller";
    int index = SDL_JoystickAttachVirtualEx(&desc);
    SDL_Joystick *j = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    if (!j) {
        std::fprintf(stderr, "pad_shim: attach failed: %s\n", SDL_GetError());
        return;
    }
    // A virtual axis starts at 0, which for a trigger is half pulled.
    SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
    SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    pads[pads_attached] = j;
    std::fprintf(stderr, "pad_shim: pad %d attached as device %d (%s)\n", pads_attached, index,
                 SDL_IsGameController(index) ? "game controller" : "joystick only");
    pads_attached++;
}

void detach(int pad) {
    SDL_Joystick *j = pads[pad];
    int index = device_index_of(j);
    SDL_JoystickClose(j);
    pads[pad] = nullptr;
    if (index < 0 || SDL_JoystickDetachVirtual(index) != 0)
        std::fprintf(stderr, "pad_shim: detach failed: %s\n", SDL_GetError());
    else
        std::fprintf(stderr, "pad_shim: pad %d detached\n", pad);
}

void run(const char *line) {
    char verb[16] = "";
    int pad = -1, what = 0, value = 0;
    int n = std::sscanf(line, "%15s %d %d %d", verb, &pad, &what, &value);
    if (n >= 1 && std::strcmp(verb, "attach") == 0) return attach();
    if (n < 2 || pad < 0 || pad >= pads_attached || !pads[pad]) {
        std::fprintf(stderr, "pad_shim: bad command: %s\n", line);
        return;
    }
    if (std::strcmp(verb, "detach") == 0)
        detach(pad);
    else if (n == 4 && std::strcmp(verb, "axis") == 0)
        SDL_JoystickSetVirtualAxis(pads[pad], what, static_cast<Sint16>(value));
    else if (n == 4 && std::strcmp(verb, "button") == 0)
        SDL_JoystickSetVirtualButton(pads[pad], what, static_cast<Uint8>(value));
    else
        std::fprintf(stderr, "pad_shim: bad command: %s\n", line);
}

void read_commands() {
    if (commands_fd == -2) {
        const char *path = std::getenv("PAD_SHIM_COMMANDS");
        commands_fd = path ? open(path, O_RDONLY) : -1;
    }
    if (commands_fd < 0) return;
    char buf[512];
    ssize_t got;
    while ((got = read(commands_fd, buf, sizeof buf)) > 0) pending.append(buf, got);
    size_t end = pending.find('\n');
    if (end == std::string::npos) return;
    std::string line = pending.substr(0, end);
    pending.erase(0, end + 1);
    run(line.c_str());
}

} // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window *window) {
    using Swap = void (*)(SDL_Window *);
    static Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    real(window);
    read_commands();
}
