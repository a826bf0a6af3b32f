// Resource and control identifiers of the installation dialog.
#pragma once

#define IDD_INSTALL 104
#define IDI_APP 128

#define IDC_USE_SHELLEXT 1000
#define IDC_ASSOC_TAR 1001
#define IDC_ASSOC_CAB 1002
#define IDC_DESKTOP_LINK 1006
#define IDC_SENDTO_LINK 1007
#define IDC_ASSOC_LZH 1008
#define IDC_BROWSE 1009
#define IDC_INSTALL_DIR 1010
#define IDC_ASSOC_ZIP 1011
#define IDC_ASSOC_ARJ 1012
