// Entry point of the generator; the run sequence is filled in as its parts land.
int main() { return 0; }
