// Shortcuts, written through the platform's shell link object.
#include <shlobj.h>

#include "install.h"

// Sets the target and the description only, and saves the link as its file.
static HRESULT SaveShellLink(IShellLinkA *pLink, LPCSTR pszTarget, LPCSTR pszLink,
                             LPCSTR pszDescription) {
  pLink->SetPath(pszTarget);
  pLink->SetDescription(pszDescription);
  IPersistFile *pFile;
  HRESULT hr = pLink->QueryInterface(IID_IPersistFile, (void **)&pFile);
  if (FAILED(hr)) return hr;
  WCHAR wszLink[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, pszLink, -1, wszLink, MAX_PATH) == 0)
    hr = E_INVALIDARG;
  else
    hr = pFile->Save(wszLink, TRUE);
  pFile->Release();
  return hr;
}

// COM that is already initialised on this thread (S_FALSE) serves as well;
// every successful initialisation is balanced. A failed one makes no link.
HRESULT CreateShortcut(LPCSTR pszTarget, LPCSTR pszLink, LPCSTR pszDescription) {
  HRESULT hr = CoInitialize(NULL);
  if (FAILED(hr)) return hr;
  IShellLinkA *pLink;
  hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                        (void **)&pLink);
  if (SUCCEEDED(hr)) {
    hr = SaveShellLink(pLink, pszTarget, pszLink, pszDescription);
    pLink->Release();
  }
  CoUninitialize();
  return hr;
}
