// An allocator that can be told to fail, for failure-injection tests.
//
// Replaces the nothrow form of operator new (the form the host and the scene
// library allocate their records with). While armed, the allocation number n
// (counted from arming, first = 0) answers null; every other allocation is
// served as usual.
#ifndef VANTREL_TESTS_SUPPORT_FAILING_NEW_H
#define VANTREL_TESTS_SUPPORT_FAILING_NEW_H

namespace failnew {

// The nothrow allocation with this index (0 = the next one) fails; -1 disarms.
void FailAllocation(int index);
// Every nothrow allocation fails while `on` is true.
void FailAll(bool on);
// Nothrow allocations counted since the last FailAllocation/FailAll/Count reset.
int Count();
// Nothrow allocations answered null since the last FailAllocation/FailAll
// (Disarm keeps the figure, so it can be read after a run).
int Refused();
void Disarm();

} // namespace failnew

#endif
