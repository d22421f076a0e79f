// Program start: the platform adapters, the main window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/frmRip.h"
#include "platform/MRegistry.h"
#include "platform/Win32Clipboard.h"
#include "platform/Win32FileSystem.h"
#include "platform/Win32Prompts.h"
#include "platform/Win32SizeFormatter.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    Win32FileSystem files;
    MRegistry registry;
    Win32Prompts prompts;
    Win32Clipboard clipboard;
    Win32SizeFormatter sizes;
    frmRip main(files, registry, prompts, clipboard, sizes);
    if (!main.Create(showCommand)) return 1;
    return main.Run();
}
