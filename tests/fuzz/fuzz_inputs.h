// fuzz_inputs.h -- the kinds of bytes the game reads from disk, fed from
// memory: a TGA picture, the saved files and the records file. The libFuzzer targets and the
// corpus replay in the test suite share these entry points. Each returns for
// every input; a reader that breaks its documented behaviour aborts.
#ifndef FUZZ_INPUTS_H
#define FUZZ_INPUTS_H

#include <stddef.h>
#include <stdint.h>

// Once per process, before the first input: a scratch folder on tmpfs (also
// the saved files' $XDG_DATA_HOME), assertion boxes answered YES and SIGTRAP
// ignored, so a refused picture comes back through the reader's clean path.
void FuzzSetUp(void);
// Removes the scratch folder.
void FuzzTearDown(void);

// The bytes as a picture file: the reader's result, pixels, refusal reason,
// memory and open files are checked against an independent decoder.
void FuzzTga(const uint8_t* data, size_t size);
// The bytes as Option.txt, Tutorial.txt and UnlockShip.txt (and their first
// four as a score to save): decoded fields, untouched neighbours, what a save
// writes back.
void FuzzSavedFiles(const uint8_t* data, size_t size);

// The bytes as Scores.txt: the table read is the one a plain decoder of the
// format finds (best ten per ship, in order), and it survives a save and a
// read unchanged.
void FuzzScores(const uint8_t* data, size_t size);

#endif
