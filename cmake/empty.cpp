// Keeps the game library non-empty while subsystems are added.
