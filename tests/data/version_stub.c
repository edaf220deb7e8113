/* The only code in the small DLLs that carry the version_*.rc test
   resources; MinGW's CRT supplies the DLL entry point. */
__declspec(dllexport) int tessaril_version_stub;
