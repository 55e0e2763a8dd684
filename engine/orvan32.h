/* The nine functions of the assignment engine library liborvan32.so.
 *
 * Projects and pupils are addressed by 1-based positions in the order they
 * were added; tags are the caller's opaque values, stored and handed back
 * unread. A number that names no node, or a rank outside 1..5, raises
 * std::out_of_range ("List index out of bounds (%d)") in a C++ caller and
 * changes nothing. Without a current instance (before Create, after Destroy)
 * the calls that need one do nothing and answer 0.
 */
#ifndef ORVAN32_H
#define ORVAN32_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*TProgressStepProc)(void);

/* Makes a new, empty engine the current instance (freeing an existing one). */
void Create(void);
/* Frees the current instance; afterwards there is none. */
void Destroy(void);
/* Shows the modal options dialog (needs a QApplication; does nothing
 * without one) and takes its "Variation" state. */
void SetOptions(void);
/* Appends a project node; answers its 0-based index. */
int32_t AddProNode(int32_t nr, int32_t min, int32_t max, intptr_t tag);
/* Inserts a pupil node at a random position. Add every pupil before the
 * first AddTransition: each insertion shifts the positions behind it. */
void AddSchNode(int32_t nr, intptr_t tag);
/* Makes project projectNr the choice of rank 1..5 of pupil pupilNr. */
void AddTransition(int32_t projectNr, int32_t pupilNr, int32_t rank);
/* Runs the assignment, calling step 90 times; answers the number of pupils
 * the final improvement sweep moved. */
int32_t SolveIt(TProgressStepProc step);
/* The tag of the project pupil pupilNr is assigned to, 0 when none. */
intptr_t GetSchMatching(int32_t pupilNr);
/* The implementation id, 11 (shown as 0.11). */
int32_t GetImplId(void);

#ifdef __cplusplus
}
#endif

#endif
