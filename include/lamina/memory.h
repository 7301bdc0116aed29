// Movable memory blocks with handles, under the Windows names. A block is allocated by GlobalAlloc,
// locked to get its address (which never changes while it is locked), and freed by GlobalFree.
// Callers own the handles that the library hands out and may free them with these functions.
#pragma once

#include "lamina/export.h"
#include "lamina/wintypes.h"

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

// Returns a new block of `bytes` bytes (zero-filled with GMEM_ZEROINIT), or null when memory is short.
LAMINA_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Returns the block's address and counts the lock; null for a null or unknown handle.
LAMINA_API LPVOID GlobalLock(HGLOBAL handle);
// Counts one unlock; TRUE while the block stays locked, FALSE once it is unlocked.
LAMINA_API BOOL GlobalUnlock(HGLOBAL handle);
// The handle of the block that starts at `address` (an address GlobalLock returned); null otherwise.
LAMINA_API HGLOBAL GlobalHandle(LPCVOID address);
// Frees the block; returns null on success and the handle itself when it is not a block.
LAMINA_API HGLOBAL GlobalFree(HGLOBAL handle);
// The block's size in bytes; 0 for a null or unknown handle.
LAMINA_API SIZE_T GlobalSize(HGLOBAL handle);
