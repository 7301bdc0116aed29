/// @file
///
/// The drawing surface an image is drawn on.
#pragma once

/// A drawing surface (a device context). Only a pointer to it crosses the interface: the library
/// declares the type and never defines it.
class CDC;
