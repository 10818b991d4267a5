// The start-up of the game without a window: an OpenGL context without a surface (Mesa's software
// rasteriser through EGL), the OpenGL backend and the game's own loading, phase by phase, up to the
// press-any-key stage. For each phase: wall-clock and processor time (all threads, so decoding on worker
// threads counts), files registered, loading frames drawn, the resident memory after it and the bytes
// of texture texels created. Without EGL it falls back to the recording backend and says so.
#include <epoxy/egl.h>
#include <epoxy/gl.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/splash_scene.h"
#include "app/startup.h"
#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/folders.h"
#include "platform/gl_backend.h"

namespace {

double wallMs() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double cpuMs() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

long residentKb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A backend that counts the texels it is handed on top of the OpenGL one.
struct CountingGl : GlBackend {
    long long texelBytes = 0;
    uint32_t createTexture(int width, int height, int mipLevels, const uint8_t* rgba) override {
        texelBytes += static_cast<long long>(width) * height * 4 * (mipLevels > 1 ? 4 : 3) / 3;
        return GlBackend::createTexture(width, height, mipLevels, rgba);
    }
};

struct CountingRecorder : RecordingBackend {
    long long texelBytes = 0;
    uint32_t createTexture(int width, int height, int mipLevels, const uint8_t* rgba) override {
        texelBytes += static_cast<long long>(width) * height * 4 * (mipLevels > 1 ? 4 : 3) / 3;
        return RecordingBackend::createTexture(width, height, mipLevels, rgba);
    }
};

bool surfacelessContext() {
    EGLDisplay display = EGL_NO_DISPLAY;
    if (epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless"))
        display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return false;
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor) || !eglBindAPI(EGL_OPENGL_API)) return false;
    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config;
    EGLint configs = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configs)) return false;
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                        3,
                                        EGL_CONTEXT_MINOR_VERSION,
                                        3,
                                        EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                        EGL_NONE};
    EGLContext context = eglCreateContext(display, configs > 0 ? config : EGLConfig(nullptr), EGL_NO_CONTEXT,
                                          contextAttributes);
    if (context == EGL_NO_CONTEXT) return false;
    return eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context);
}

struct PhaseFigures {
    double wallMs = 0, cpuMs = 0;
    int files = 0, frames = 0;
    long residentKb = 0;
    long long texelBytes = 0;
};

PhaseFigures figures[kStartupPhaseCount + 1]; // the window first, then the phases

} // namespace

int main(int, char** argv) {
    // The player files of a run go to a folder of their own, never the user's.
    char home[] = "/tmp/pebblecraft-bench.XXXXXX";
    if (!mkdtemp(home)) return 1;
    setenv("XDG_DATA_HOME", home, 1);
    setenv("XDG_CONFIG_HOME", home, 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    if (!locateDataFolder(argv[0]) || chdir(dataFolder().c_str()) != 0) {
        std::fprintf(stderr, "bench_startup: no Data folder beside %s\n", argv[0]);
        return 1;
    }

    double w0 = wallMs(), c0 = cpuMs();
    static CountingGl gl;
    static CountingRecorder recorder;
    bool realGl = surfacelessContext() && gl.init();
    long long* texelBytes = realGl ? &gl.texelBytes : &recorder.texelBytes;
    if (realGl) {
        createDisplay(&gl);
    } else {
        recorder.keepVertices = false;
        createDisplay(&recorder);
        std::printf("bench_startup: no surfaceless OpenGL; the recording backend stands in (no uploads)\n");
    }
    setPerspective(800, 600);
    loadSplashPictures(); // the splash pictures come before the loading, as in the game
    figures[0] = {wallMs() - w0, cpuMs() - c0, splash.filesLoaded, 0, residentKb(), *texelBytes};

    // The start-up as the main loop runs it, with loading frames drawn through the backend.
    app.startupPending = true;
    loadingPace = LoadingPace{};
    for (int i = 0; i < kStartupPhaseCount; i++) {
        double w = wallMs(), c = cpuMs();
        int files = splash.filesLoaded, frames = loadingPace.framesDrawn;
        long long texels = *texelBytes;
        kStartupPhases[i].run();
        PhaseFigures& f = figures[i + 1];
        f.wallMs = wallMs() - w;
        f.cpuMs = cpuMs() - c;
        f.files = splash.filesLoaded - files;
        f.frames = loadingPace.framesDrawn - frames;
        f.residentKb = residentKb();
        f.texelBytes = *texelBytes - texels;
    }
    app.startupPending = false;

    std::printf("%-24s %9s %9s %6s %7s %9s %10s\n", "phase", "wall ms", "cpu ms", "files", "frames", "RSS MB",
                "texels MB");
    double loadWall = 0, loadCpu = 0;
    for (int i = 0; i <= kStartupPhaseCount; i++) {
        const PhaseFigures& f = figures[i];
        if (i > 0) {
            loadWall += f.wallMs;
            loadCpu += f.cpuMs;
        }
        std::printf("%-24s %9.1f %9.1f %6d %7d %9.1f %10.2f\n",
                    i == 0 ? "window" : kStartupPhases[i - 1].name, f.wallMs, f.cpuMs, f.files, f.frames,
                    f.residentKb / 1024.0, f.texelBytes / 1048576.0);
    }
    std::printf("%-24s %9.1f %9.1f %6d %7d %9.1f\n", "loading (all phases)", loadWall, loadCpu,
                splash.filesLoaded, loadingPace.framesDrawn, residentKb() / 1024.0);
    // One line per figure for the summary table of `make bench`.
    std::printf("FIGURE loading_wall_ms %.1f\n", loadWall);
    std::printf("FIGURE loading_cpu_ms %.1f\n", loadCpu);
    std::printf("FIGURE loading_frames %d\n", loadingPace.framesDrawn);
    std::printf("FIGURE startup_rss_mb %.1f\n", residentKb() / 1024.0);
    std::string cleanup = std::string("rm -rf ") + home;
    int removed = std::system(cleanup.c_str());
    std::fflush(stdout);
    _exit(removed == 0 ? 0 : 1); // the audio thread and the context go with the process
}
