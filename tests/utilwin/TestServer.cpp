// A stand-in OLE server for the registration tests: its DllRegisterServer reports the result
// it was built with (QV_REGISTER_RESULT); built without one it exports no such entry.
#include <windows.h>

#ifdef QV_REGISTER_RESULT
extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() { return QV_REGISTER_RESULT; }
#else
extern "C" __declspec(dllexport) int WINAPI NothingToRegister() { return 0; }
#endif
