/// @file
///
/// Movable memory blocks with handles, under the Windows names.
///
/// A block is allocated by GlobalAlloc(), locked by GlobalLock() to get its address (which never
/// changes while it is locked), and freed by GlobalFree(). An image keeps its block locked for its
/// whole life. Handles the library hands out (CLamina::fnIMG_CopyToHandle()) belong to the caller,
/// who frees them with GlobalFree(). The functions may be called from any thread.
///
/// A handle is recognised by a tag in a small record before the block's bytes: a null handle is
/// refused everywhere, and a pointer that is not a live block is refused as far as its tag tells,
/// but it is read to tell, so pass only handles from GlobalAlloc() that are not yet freed.
#pragma once

#include "lamina/export.h"
#include "lamina/wintypes.h"

/// GlobalAlloc() flag: a fixed block (accepted; every block here keeps its address).
#define GMEM_FIXED 0x0000u
/// GlobalAlloc() flag: a movable block.
#define GMEM_MOVEABLE 0x0002u
/// GlobalAlloc() flag: the block's bytes start as zeros.
#define GMEM_ZEROINIT 0x0040u
/// GlobalAlloc() flags: a movable, zero-filled block (what an image block and a handle need).
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
/// GlobalAlloc() flags: a fixed, zero-filled block.
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

/// Allocates a block.
/// @param flags GMEM_ZEROINIT (or GHND, GPTR) for a zero-filled block; the other flags are
///        accepted and change nothing.
/// @param bytes the size in bytes; 0 is allowed.
/// @return the new block's handle, unlocked; null when memory is short.
LAMINA_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
/// Locks a block and gives its address; locks are counted.
/// @param handle a handle from GlobalAlloc().
/// @return the block's address, fixed while the block is locked; null for a null handle or a
///         pointer that is not a block.
LAMINA_API LPVOID GlobalLock(HGLOBAL handle);
/// Counts one unlock of a block.
/// @param handle a handle from GlobalAlloc().
/// @return TRUE while the block stays locked; FALSE once it is unlocked, and for a block that was
///         not locked, a null handle or a pointer that is not a block.
LAMINA_API BOOL GlobalUnlock(HGLOBAL handle);
/// Finds a block's handle from its address.
/// @param address an address GlobalLock() returned.
/// @return the handle of the block that starts at address; null for a null address.
LAMINA_API HGLOBAL GlobalHandle(LPCVOID address);
/// Frees a block, locked or not; its handle and address are invalid afterwards.
/// @param handle a handle from GlobalAlloc().
/// @return null on success (and for a null handle); the handle itself when it is not a block
///         (a block freed already, as far as its tag tells).
LAMINA_API HGLOBAL GlobalFree(HGLOBAL handle);
/// The size of a block.
/// @param handle a handle from GlobalAlloc().
/// @return the block's size in bytes; 0 for a null handle or a pointer that is not a block.
LAMINA_API SIZE_T GlobalSize(HGLOBAL handle);
