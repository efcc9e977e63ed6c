// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of several megabytes pass through buffers of their own size at every
// load, replace and highlighting pass. By default the C library hands each
// such buffer back to the system when it is freed, and the next one costs a
// page fault per page touched (most of a 10 MB replace). Called once at the
// start of a program, this keeps freed memory for the next buffer instead.
#pragma once

namespace talmo {

void keepLargeBuffersForReuse();

} // namespace talmo
