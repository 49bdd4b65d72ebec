// The recording recorder-sim serves in the upload tests: one of its own, so that an image that
// came from anywhere else would show, written as the recording file the simulator reads.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "recording/decoder.h"
#include "recording/recording_generator.h"

namespace pulvitra::test {

GeneratedRecording served_recording();

// The recording the window held before an upload, with a file name and a fixed interval of
// its own: a failed upload must leave it as it is.
GeneratedRecording held_recording();
void fill_held_recording(TEKG& ekg, DecoderState& decoder);

// The arguments that make recorder-sim serve it, from a recording file written into FOLDER:
// the magic in a blank header, then the served image.
QStringList serving_arguments(const QTemporaryDir& folder);

}  // namespace pulvitra::test
