#pragma once

// Records of the processor, memory, port, slot and cache structures.
