/*
 * Preloaded into the 32-bit Wine loader when it runs under qemu-i386.
 *
 * Debian ships no wine-preloader, so the 32-bit ntdll reserves the address
 * space itself: it asks for 0x10000-0x40000000 and 0x7ffe0000-4G with
 * MAP_FIXED_NOREPLACE, qemu-user treats that flag as a hint, and ntdll keeps
 * splitting the range down to 64 KB. Tens of thousands of mmap/munmap pairs,
 * each a linear scan inside qemu, make every start take close to a minute.
 * Handing the loader a preload table tells ntdll a preloader already did the
 * reservation, so it skips that loop.
 *
 * Built with -nostdlib and without headers: it is loaded into a 32-bit
 * process on a 64-bit host that may have no 32-bit libc development files.
 */

struct preload_area
{
    void *addr;
    unsigned long size;
};

/* Defined (as NULL) by the loader executable. Defining it here instead does
 * not work: ntdll looks it up with dlsym and the executable's copy wins, so
 * the pointer has to be assigned at run time. */
extern struct preload_area *wine_main_preload_info;

/* Shared user data and everything above it up to 4 GB; qemu's -R bounds
 * the guest space, so nothing else needs reserving. */
static struct preload_area areas[] =
{
    { (void *)0x7ffe0000, 0x80010000 },
    { 0, 0 }
};

static int is_ld_preload(const char *s)
{
    static const char name[] = "LD_PRELOAD=";
    unsigned int i;

    for (i = 0; i < sizeof(name) - 1; i++)
        if (s[i] != name[i]) return 0;
    return 1;
}

__attribute__((constructor))
static void shim_init(int argc, char **argv, char **envp)
{
    (void)argc;
    (void)argv;

    wine_main_preload_info = areas;

    /* The 64-bit wineserver and services inherit this environment; a 32-bit
     * LD_PRELOAD there only makes their loader complain. */
    for (; envp && *envp; envp++)
        if (is_ld_preload(*envp)) **envp = '_';
}
