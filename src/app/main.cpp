// Placeholder start-up.
int main() { return 0; }
