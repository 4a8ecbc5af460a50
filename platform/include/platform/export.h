// Marks the entry points a deliverable exports; everything else stays hidden.
#pragma once

#define PX_EXPORT __attribute__((visibility("default")))
