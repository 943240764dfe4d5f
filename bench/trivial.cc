// The yardstick for start-up time: a GUI program built like updater.exe
// that shows one error box and exits.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(NULL, "x", "trivial", MB_ICONERROR);
  return 0;
}
