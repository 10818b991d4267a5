/* A deliberate leak, to show that the monkey's memory check catches one: loaded into the game with
 * LD_PRELOAD (the monkey does so when MONKEY_LEAK_KB is set), it allocates MONKEY_LEAK_KB kilobytes a
 * second, touches them so that they are resident, and never frees them. */
#include <pthread.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static void* leak(void* arg) {
    size_t bytes = (size_t)arg;
    for (;;) {
        void* block = malloc(bytes);
        if (block) memset(block, 0x5a, bytes);
        sleep(1);
    }
    return NULL;
}

__attribute__((constructor)) static void startLeak(void) {
    const char* kb = getenv("MONKEY_LEAK_KB");
    long n = kb ? atol(kb) : 0;
    if (n <= 0) return;
    pthread_t thread;
    if (pthread_create(&thread, NULL, leak, (void*)(size_t)(n * 1024)) == 0) pthread_detach(thread);
}
