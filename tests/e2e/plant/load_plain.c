// The control: loads a DLL by its bare name, the way any program does that
// has not restricted its DLL search. Exit code 0 when the load succeeded.
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  return LoadLibraryA(argv[1]) != NULL ? 0 : 1;
}
