/* Times a program from its start to its first frame on the screen and
 * measures its resident memory once it is idle.
 *
 *   zel_firstframe IDLE_MS PROGRAM [ARGS...]
 *
 * The program is started with ZEL_FIRST_FRAME_FD naming the write end of a
 * pipe, and writes "frame" there once its first picture has reached its
 * mapped window (after a round trip to the X server).  The time runs from
 * just before fork to that line.  IDLE_MS later the resident set
 * (VmRSS) is read from /proc, the program is asked to end (SIGTERM) and, if
 * it has not ended within two seconds, killed.  Prints one line:
 *   first_frame_ms=<ms> cpu_ms=<ms> queued_ms=<ms> rss_kb=<kB>
 * where cpu_ms is the processor time all the program's threads had used
 * when the frame came and queued_ms the time they were ready to run but
 * waited for a processor (from /proc/<pid>/task/<tid>/schedstat): on a
 * machine others share, the elapsed time is mostly the latter.
 * and exits non-zero when no frame came within ten seconds. */
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double NowMs(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static long ResidentKb(pid_t pid) {
  char path[64], line[256];
  long kb = -1;
  snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
  FILE* f = fopen(path, "r");
  if (!f) return -1;
  while (fgets(line, sizeof line, f))
    if (sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
  fclose(f);
  return kb;
}

/* The processor time of every thread of the process so far, and the time
 * they spent ready but waiting for a processor, in ms. */
static double CpuMs(pid_t pid, double* queuedMs) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
  DIR* dir = opendir(path);
  if (!dir) return -1;
  double ns = 0, queued = 0;
  struct dirent* e;
  while ((e = readdir(dir)) != NULL) {
    if (e->d_name[0] == '.') continue;
    char stat[600];
    snprintf(stat, sizeof stat, "%s/%s/schedstat", path, e->d_name);
    FILE* f = fopen(stat, "r");
    unsigned long long run = 0, wait = 0;
    if (f && fscanf(f, "%llu %llu", &run, &wait) == 2) {
      ns += (double)run;
      queued += (double)wait;
    }
    if (f) fclose(f);
  }
  closedir(dir);
  *queuedMs = queued / 1e6;
  return ns / 1e6;
}

/* Waits up to ms for the child to end; returns whether it did. */
static int WaitEnd(pid_t pid, int ms) {
  for (int i = 0; i < ms / 10; ++i) {
    if (waitpid(pid, NULL, WNOHANG) == pid) return 1;
    usleep(10000);
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s IDLE_MS PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  const int idleMs = atoi(argv[1]);
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return perror("pipe"), 2;
  /* Descriptor 3 in the child, whatever the pipe got here. */
  const double start = NowMs();
  const pid_t pid = fork();
  if (pid < 0) return perror("fork"), 2;
  if (pid == 0) {
    close(fds[0]);
    if (dup2(fds[1], 3) < 0) _exit(127);
    setenv("ZEL_FIRST_FRAME_FD", "3", 1);
    execvp(argv[2], argv + 2);
    perror(argv[2]);
    _exit(127);
  }
  close(fds[1]);
  struct pollfd p = {fds[0], POLLIN, 0};
  char buf[16] = {0};
  double frame = -1, cpu = -1, queued = -1;
  const double deadline = start + 10000;
  for (;;) {
    const int left = (int)(deadline - NowMs());
    if (left <= 0) break;
    const int r = poll(&p, 1, left);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    const ssize_t n = read(fds[0], buf, sizeof buf - 1);
    if (n > 0 && strncmp(buf, "frame", 5) == 0) {
      frame = NowMs();
      cpu = CpuMs(pid, &queued);
    }
    break;
  }
  long rss = -1;
  if (frame >= 0) {
    usleep((useconds_t)idleMs * 1000);
    rss = ResidentKb(pid);
  }
  kill(pid, SIGTERM);
  if (!WaitEnd(pid, 2000)) {
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
  }
  close(fds[0]);
  if (frame < 0) {
    fprintf(stderr, "%s: no first frame within ten seconds\n", argv[2]);
    return 1;
  }
  printf("first_frame_ms=%.1f cpu_ms=%.1f queued_ms=%.1f rss_kb=%ld\n", frame - start, cpu, queued,
         rss);
  return 0;
}
