// Gives every core library at least one translation unit, so a folder may be empty while it grows.
