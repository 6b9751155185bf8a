// Compiled only by the test that keeps the toolkit out of the program's folders: with nothing but
// the program's own libraries behind it, this include must not be found.
#include <QString>
