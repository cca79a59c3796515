#include "content/ContentModelMutex.h"

QRecursiveMutex& ContentModelMutex::Instance() {
    static QRecursiveMutex mutex;
    return mutex;
}
