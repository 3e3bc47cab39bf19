ardour {
	["type"]    = "dsp",
	name        = "Varnis Test Signal",
	category    = "Utility",
	license     = "MIT",
	author      = "libvarnis tests",
	description = [[Replaces its input with a fixed stereo test signal.]]
}

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

local position = 0
local seed = 12345

-- Left: a 997 Hz sine above full scale, so clipping shows. Right: noise from a fixed linear
-- congruential sequence, so the two channels never match and a swap or a mix shows.
function dsp_run (ins, outs, n_samples)
	local left = outs[1]:array ()
	local right = outs[2]:array ()
	for i = 1, n_samples do
		left[i] = 1.5 * math.sin (2 * math.pi * 997 * (position + i) / 48000)
		seed = (seed * 1103515245 + 12345) % 2147483648
		right[i] = seed / 2147483648 - 0.5
	end
	position = position + n_samples
end
