#pragma once
// Brings every scaled text, building elevation label and window of the working drawing to the
// drawing scale ("DRAWING_SCALE"), which each of them copied when it was made. Asks nothing,
// prints nothing; opens the database only when it is not open, and then closes it again.
void UpdateModelScale();
