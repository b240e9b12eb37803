/* The floor for start-up: a bare SDL window of the main window's size,
 * filled with one colour through the window surface (the way the program
 * presents), and an event loop.  Writes "frame" to ZEL_FIRST_FRAME_FD once
 * the first picture is on the screen. */
#include <SDL.h>
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* w = SDL_CreateWindow("bare", 100, 100, 622, 422, SDL_WINDOW_SHOWN);
  if (!w) return 1;
  SDL_Surface* s = SDL_GetWindowSurface(w);
  SDL_FillRect(s, NULL, SDL_MapRGB(s->format, 0xEC, 0xE9, 0xD8));
  SDL_UpdateWindowSurface(w);
  const char* fd = getenv("ZEL_FIRST_FRAME_FD");
  if (fd) {
    ssize_t n = write(atoi(fd), "frame\n", 6);
    (void)n;
  }
  SDL_Event e;
  while (SDL_WaitEvent(&e))
    if (e.type == SDL_QUIT) break;
  SDL_DestroyWindow(w);
  SDL_Quit();
  return 0;
}
