# Header-only so far.
