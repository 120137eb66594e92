/* Preloaded into a program by game_bench.py: counts its OpenGL draw calls and buffer swaps in a
   small file that the benchmark reads while the program runs (two 64-bit counters: draw calls,
   then swaps), so that a stretch of play can be measured on its own. The file is named by
   QUENMARSH_GL_COUNT; without it the program runs as usual, uncounted.
   Allegro and its primitives add-on draw everything through glDrawArrays and glDrawElements. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

typedef unsigned int GLenum;
typedef int GLint;
typedef int GLsizei;

static volatile uint64_t* counters;  /* [0] draw calls, [1] swaps */
static volatile uint64_t uncounted[2];

static volatile uint64_t* counterFile(void)
{
    if (counters) return counters;
    counters = uncounted;
    const char* path = getenv("QUENMARSH_GL_COUNT");
    if (!path) return counters;
    int fd = open(path, O_RDWR | O_CREAT, 0644);
    if (fd < 0) return counters;
    if (ftruncate(fd, sizeof uncounted) == 0) {
        void* shared = mmap(NULL, sizeof uncounted, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (shared != MAP_FAILED) counters = shared;
    }
    close(fd);
    return counters;
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    static void (*real)(GLenum, GLint, GLsizei);
    if (!real) real = (void (*)(GLenum, GLint, GLsizei))dlsym(RTLD_NEXT, "glDrawArrays");
    counterFile()[0] += 1;
    real(mode, first, count);
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices)
{
    static void (*real)(GLenum, GLsizei, GLenum, const void*);
    if (!real) real = (void (*)(GLenum, GLsizei, GLenum, const void*))dlsym(RTLD_NEXT, "glDrawElements");
    counterFile()[0] += 1;
    real(mode, count, type, indices);
}

void glXSwapBuffers(void* display, unsigned long drawable)
{
    static void (*real)(void*, unsigned long);
    if (!real) real = (void (*)(void*, unsigned long))dlsym(RTLD_NEXT, "glXSwapBuffers");
    counterFile()[1] += 1;
    real(display, drawable);
}
