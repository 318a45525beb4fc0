// How the program's heap hands memory back to the system.
#pragma once

// Keeps large freed blocks in the process for reuse instead of returning them to the system
// at once. The large map's textures (up to about 180 MiB) are made in one go and replaced
// in one go when the texture resolution changes; handing their pages back and taking them
// again costs a page fault per 4 KiB, which can double the time to build the map. Call
// once at start-up, before the first large allocation.
void KeepFreedMemoryForReuse();
