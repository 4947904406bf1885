// How the program benchmark hands spindrel.exe a drop of files. A drop's handle
// belongs to the process that receives it, and Wine does not carry one across
// processes as Windows does for the shell, so the benchmark places its list of
// paths in a named shared memory block and posts DropRequestMessage to the window
// that accepts files. DropHookWin32.cpp, hooked into the program's thread, turns
// that message into a WM_DROPFILES with a handle made in the program's own process.
#pragma once

// Registered with RegisterWindowMessageA by both sides.
#define DROP_REQUEST_MESSAGE "SpindrelBenchDropRequest"
// The shared block: the paths, each ending in a zero byte, and one more zero byte.
#define DROP_REQUEST_BLOCK "SpindrelBenchDropList"
// The hook procedure exported by the DLL (undecorated in both builds).
#define DROP_HOOK_PROCEDURE "DropHook"
