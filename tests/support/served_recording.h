// The recording recorder-sim serves in the upload tests: one of its own, so that an image that
// came from anywhere else would show, written as the recording file the simulator reads.
#pragma once

#include <QString>

#include "recording/recording_generator.h"

namespace pulvitra::test {

GeneratedRecording served_recording();

// A recording file at path: the magic in a blank header, then the served image.
void write_served_file(const QString& path);

}  // namespace pulvitra::test
