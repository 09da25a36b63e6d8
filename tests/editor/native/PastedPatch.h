// Auto-generated patch for Sorv Audio Labs QUOR-515

static const struct SorvLib::Patch<3> _PASTEDPATCH =
{
	"PastedPatch",
	{
		{ 0x4c65766c, 0.3 },
		{ 0x53746570, 0.7 },
		{ 0xffffffff, -1.f }
	}
};

