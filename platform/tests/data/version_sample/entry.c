int __stdcall DllEntry(void* a, unsigned long b, void* c) { (void)a; (void)b; (void)c; return 1; }
