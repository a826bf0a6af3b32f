// The user-visible texts, Shift-JIS in the program file.
#pragma once
#include "platform.h"

extern const char g_szCaptionINSTALL[];
extern const char g_szCaptionInstall[];
extern const char g_szCaptionConfirmQuit[];
extern const char g_szCaptionCreateFolder[];
extern const char g_szCaptionFinished[];
extern const char g_szCaptionUninstall[];

extern const char g_szMsgAppRunning[];
extern const char g_szMsgWrongFolder[];
extern const char g_szMsgUnusableFolder[];
extern const char g_szMsgSourceTooLong[];
extern const char g_szMsgConfirmCancel[];
extern const char g_szTitleBrowse[];
extern const char g_szMsgFolderInvalid[];
extern const char g_szMsgFolderTooLong[];
extern const char g_szMsgFolderMissing1[];
extern const char g_szMsgFolderMissing2[];
extern const char g_szMsgCannotCreate[];
extern const char g_szMsgSourceMissing1[];
extern const char g_szMsgSourceMissing2[];
extern const char g_szMsgCannotCopyRunning[];
extern const char g_szMsgCannotCopyFile1[];
extern const char g_szMsgCannotCopyFile2[];
extern const char g_szMsgDiskFull[];
extern const char g_szMsgNotPutBack[];
extern const char g_szMsgInstalled1[];
extern const char g_szMsgInstalled2[];
extern const char g_szMsgUninstallInfoFailed[];
extern const char g_szMsgRestart[];
extern const char g_szMsgConfirmUninstall[];
extern const char g_szMsgUninstalled[];
extern const char g_szMsgDeletedAtRestart[];
extern const char g_szMsgFilesLeft[];
extern const char g_szMsgWrongBuild[];
