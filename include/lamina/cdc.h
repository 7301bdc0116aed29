// The drawing surface the image is drawn on. Only a pointer to it crosses the interface.
#pragma once

class CDC;
