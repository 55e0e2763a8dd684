/* Drives liborvan32.so from plain C through dlopen, with no QApplication in
 * the process: the worked example of two projects and five pupils.
 * Usage: engine_c_driver <path to liborvan32.so>; exit status 0 on success. */
#include "engine/orvan32.h"

#include <dlfcn.h>
#include <stdio.h>

static int steps = 0;
static void step(void) { ++steps; }

#define BIND(name)                                                  \
    name##_t name##_p = (name##_t)dlsym(lib, #name);                \
    if (!name##_p) {                                                \
        fprintf(stderr, "missing export %s\n", #name);              \
        return 1;                                                   \
    }

typedef void (*Create_t)(void);
typedef void (*Destroy_t)(void);
typedef void (*SetOptions_t)(void);
typedef int32_t (*AddProNode_t)(int32_t, int32_t, int32_t, intptr_t);
typedef void (*AddSchNode_t)(int32_t, intptr_t);
typedef void (*AddTransition_t)(int32_t, int32_t, int32_t);
typedef int32_t (*SolveIt_t)(TProgressStepProc);
typedef intptr_t (*GetSchMatching_t)(int32_t);
typedef int32_t (*GetImplId_t)(void);

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s liborvan32.so\n", argv[0]);
        return 2;
    }
    void* lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    BIND(Create) BIND(Destroy) BIND(SetOptions) BIND(AddProNode) BIND(AddSchNode)
    BIND(AddTransition) BIND(SolveIt) BIND(GetSchMatching) BIND(GetImplId)

    int failures = 0;
#define CHECK(cond)                                                 \
    if (!(cond)) {                                                  \
        fprintf(stderr, "line %d: %s\n", __LINE__, #cond);          \
        ++failures;                                                 \
    }

    CHECK(GetImplId_p() == 11);
    SetOptions_p(); /* without a QApplication: returns at once, changes nothing */
    CHECK(SolveIt_p(step) == 0 && steps == 0); /* no instance */

    Create_p();
    CHECK(AddProNode_p(1, 2, 3, 1001) == 0);
    CHECK(AddProNode_p(2, 2, 3, 1002) == 1);
    for (int32_t s = 1; s <= 5; ++s)
        AddSchNode_p(s, 0);
    for (int32_t s = 1; s <= 5; ++s) {
        AddTransition_p(1, s, 1);
        AddTransition_p(2, s, 2);
    }
    CHECK(SolveIt_p(step) == 0);
    CHECK(steps == 90);
    CHECK(GetSchMatching_p(1) == 1002 && GetSchMatching_p(2) == 1002);
    CHECK(GetSchMatching_p(3) == 1001 && GetSchMatching_p(4) == 1001 && GetSchMatching_p(5) == 1001);
    Destroy_p();
    CHECK(GetSchMatching_p(1) == 0);
    CHECK(GetImplId_p() == 11);

    /* An instance left behind goes with the library at exit. (No dlclose:
     * a library Qt pulls in leaks a few bytes when it is unloaded.) */
    Create_p();
    AddProNode_p(1, 0, 1, 7);
    AddSchNode_p(1, 0);

    if (failures == 0)
        printf("ok\n");
    return failures == 0 ? 0 : 1;
}
