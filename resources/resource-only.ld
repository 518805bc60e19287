/* Linker script of a resource-only DLL (IntallerRes.dll and test copies of it).
   The default script would add an empty export and import directory and a
   .text section for the C runtime's constructor lists; a library that only
   carries data should hold nothing but its resources. The empty .reloc keeps
   the image relocatable, so it loads at any base. */
SECTIONS
{
  .rsrc __image_base__ + __section_alignment__ : { *(.rsrc) *(SORT(.rsrc$*)) }
  .reloc BLOCK(__section_alignment__) : { *(.reloc) }
  /DISCARD/ : { *(*) }
}
