// Placeholder: the demo archive generator.
int main() { return 0; }
