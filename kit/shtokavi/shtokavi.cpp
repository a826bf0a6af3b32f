// ShTokavi: the shell extension's in-process server. It serves one class,
// whose objects answer IUnknown only, and counts references and server locks
// so that the platform may unload it once nothing refers to it.
#define CINTERFACE
#define CONST_VTABLE
#define WIN32_LEAN_AND_MEAN
#define __INLINE_ISEQUAL_GUID
#include <objbase.h>
#include <windows.h>

static const CLSID CLSID_ShTokavi = {
    0x7A41D2E3, 0x3C55, 0x11D0, {0x8F, 0x6B, 0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F}};

static LONG g_cFactoryRefs;
static LONG g_cObjectRefs;
static LONG g_cServerLocks;

// The objects have no state: one static instance serves every request, and
// its count is that of all references handed out.
static HRESULT STDMETHODCALLTYPE QueryObjectInterface(IUnknown *pUnk, REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  if (!IsEqualIID(riid, IID_IUnknown)) {
    *ppv = NULL;
    return E_NOINTERFACE;
  }
  *ppv = pUnk;
  InterlockedIncrement(&g_cObjectRefs);
  return S_OK;
}

static ULONG STDMETHODCALLTYPE AddObjectRef(IUnknown *) {
  return (ULONG)InterlockedIncrement(&g_cObjectRefs);
}

static ULONG STDMETHODCALLTYPE ReleaseObject(IUnknown *) {
  return (ULONG)InterlockedDecrement(&g_cObjectRefs);
}

static const IUnknownVtbl g_vtblObject = {QueryObjectInterface, AddObjectRef, ReleaseObject};
static IUnknown g_object = {&g_vtblObject};

static HRESULT STDMETHODCALLTYPE QueryFactoryInterface(IClassFactory *pFactory, REFIID riid,
                                                       void **ppv) {
  if (!ppv) return E_POINTER;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
    *ppv = NULL;
    return E_NOINTERFACE;
  }
  *ppv = pFactory;
  InterlockedIncrement(&g_cFactoryRefs);
  return S_OK;
}

static ULONG STDMETHODCALLTYPE AddFactoryRef(IClassFactory *) {
  return (ULONG)InterlockedIncrement(&g_cFactoryRefs);
}

static ULONG STDMETHODCALLTYPE ReleaseFactory(IClassFactory *) {
  return (ULONG)InterlockedDecrement(&g_cFactoryRefs);
}

static HRESULT STDMETHODCALLTYPE CreateInstance(IClassFactory *, IUnknown *pUnkOuter, REFIID riid,
                                                void **ppv) {
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  if (pUnkOuter) return CLASS_E_NOAGGREGATION;
  return QueryObjectInterface(&g_object, riid, ppv);
}

static HRESULT STDMETHODCALLTYPE LockServer(IClassFactory *, BOOL fLock) {
  if (fLock)
    InterlockedIncrement(&g_cServerLocks);
  else
    InterlockedDecrement(&g_cServerLocks);
  return S_OK;
}

static const IClassFactoryVtbl g_vtblFactory = {QueryFactoryInterface, AddFactoryRef,
                                                ReleaseFactory, CreateInstance, LockServer};
static IClassFactory g_factory = {&g_vtblFactory};

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  if (!IsEqualCLSID(rclsid, CLSID_ShTokavi)) return CLASS_E_CLASSNOTAVAILABLE;
  return QueryFactoryInterface(&g_factory, riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow(void) {
  return (g_cFactoryRefs == 0 && g_cObjectRefs == 0 && g_cServerLocks == 0) ? S_OK : S_FALSE;
}

// The library's own entry point: there is no C runtime, and nothing to set up.
extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD, LPVOID) { return TRUE; }
