-- Run by ardour7-lua for the Ardour integration test.
--   create DIR NAME PLUGIN   new session: a source track bounces the test signal, a second track plays
--                            it through the plug-in at PLUGIN; checks that the audio is unchanged; saves
--   reload DIR SNAPSHOT OUT  loads SNAPSHOT, checks that the plug-in is back and still passes the audio,
--                            saves the state as snapshot OUT
-- Lines starting "varnis-test " carry results to the driver; a failed check ends the run with an error.

local mode, dir, name, extra = arg[1], arg[2], arg[3], arg[4]
local frames = 100003 -- not a multiple of any block size, so a partial block is processed too

local function fail (fmt, ...) error (string.format (fmt, ...), 0) end

local function report (key, value) print ("varnis-test " .. key .. "=" .. tostring (value)) end

local function find_plugin (path)
	for info in ARDOUR.LuaAPI.list_plugins ():iter () do
		if info.type == ARDOUR.PluginType.LXVST and info.path == path then return info end
	end
	fail ("Ardour does not list the VST plug-in %s", path)
end

local function new_track (session, track_name)
	local tracks = session:new_audio_track (2, 2, nil, 1, track_name, ARDOUR.PresentationInfo.max_order,
		ARDOUR.TrackMode.Normal, true)
	if tracks:size () ~= 1 then fail ("Ardour made no track %s", track_name) end
	return tracks:front ()
end

local function insert_first (track, processor, what)
	if processor:isnil () then fail ("Ardour could not make %s", what) end
	if track:add_processor_by_index (processor, 0, nil, true) ~= 0 then
		fail ("Ardour refused to insert %s", what)
	end
end

-- Runs the track's processors up to the endpoint (and through it, if included) over the playlist.
local function bounce (track, endpoint, include_endpoint, region_name)
	local region = track:bounce_range (0, frames, ARDOUR.InterThreadInfo (), endpoint, include_endpoint, region_name)
	if region:isnil () then fail ("bouncing %s gave no region", region_name) end
	local audio = region:to_audioregion ()
	if audio:n_channels () ~= 2 then fail ("bounce %s has %d channels, not 2", region_name, audio:n_channels ()) end
	return audio
end

local function read_channel (region, channel, memory)
	local got = region:to_readable ():read (memory:to_float (0), 0, frames, channel)
	if got ~= frames then fail ("read %d of %d samples of channel %d", got, frames, channel) end
	return memory:to_float (0):array ()
end

local function peak (samples)
	local highest = 0
	for i = 1, frames do highest = math.max (highest, math.abs (samples[i])) end
	return highest
end

local function expect_same_audio (expected, actual, what)
	local a, b = ARDOUR.DSP.DspShm (frames), ARDOUR.DSP.DspShm (frames)
	for channel = 0, 1 do
		local want = read_channel (expected, channel, a)
		local got = read_channel (actual, channel, b)
		local differing, first = 0, nil
		for i = 1, frames do
			if want[i] ~= got[i] then
				differing = differing + 1
				first = first or i
			end
		end
		if differing > 0 then
			fail ("%s: channel %d differs in %d of %d samples, first at sample %d: %.9g instead of %.9g", what,
				channel + 1, differing, frames, first - 1, got[first], want[first])
		end
	end
end

local function check_test_signal (signal, silence)
	local a = ARDOUR.DSP.DspShm (frames)
	-- Without the generator the bounce is silent: the endpoint's own processing is what the signal shows.
	for channel = 0, 1 do
		if peak (read_channel (silence, channel, a)) ~= 0 then fail ("the bounce without the generator is not silent") end
	end
	local left = peak (read_channel (signal, 0, a))
	local right = peak (read_channel (signal, 1, a))
	if not (left > 1.4 and right > 0.4) then fail ("test signal peaks %g and %g are not the generator's", left, right) end
end

local function save (session, snapshot)
	if session:save_state (snapshot, false, false, false, false, false) ~= 0 then
		fail ("Ardour could not save snapshot '%s'", snapshot)
	end
end

AudioEngine:set_backend ("None (Dummy)", "", "")

if mode == "create" then
	local session = create_session (dir, name, 48000)
	if not session then fail ("Ardour could not create the session %s in %s", name, dir) end
	local info = find_plugin (extra)
	report ("plugin-name", info.name)
	report ("plugin-maker", info.creator)

	local source = new_track (session, "Source")
	local generator = ARDOUR.LuaAPI.new_luaproc (session, "Varnis Test Signal")
	insert_first (source, generator, "the test signal generator")
	local silence = bounce (source, generator, false, "silence")
	local signal = bounce (source, generator, true, "signal")
	check_test_signal (signal, silence)

	local analysed = new_track (session, "Analysed")
	local plugin = ARDOUR.LuaAPI.new_plugin (session, info.unique_id, info.type, "")
	insert_first (analysed, plugin, "the plug-in")
	-- A new trim ramps its gain up from silence; switched off, the chain ahead of the plug-in is exact.
	analysed:trim ():deactivate ()
	signal:set_fade_in_active (false)
	signal:set_fade_out_active (false)
	analysed:playlist ():add_region (signal, Temporal.timepos_t (0), 1, false, 0, 0, false)
	expect_same_audio (signal, bounce (analysed, plugin, false, "before"), "the audio ahead of the plug-in")
	expect_same_audio (signal, bounce (analysed, plugin, true, "through"), "the plug-in's output")
	save (session, "")
	close_session ()
elseif mode == "reload" then
	local session = load_session (dir, name)
	if not session then fail ("Ardour could not load snapshot '%s' from %s", name, dir) end
	local route = session:route_by_name ("Analysed")
	if route:isnil () or route:to_track ():isnil () then fail ("the session has no track 'Analysed'") end
	local analysed = route:to_track ()
	local plugin = analysed:nth_plugin (0)
	if plugin:isnil () then fail ("the plug-in did not come back with the session") end
	report ("plugin-name", plugin:to_insert ():plugin (0):name ())
	local regions = {}
	for region in analysed:playlist ():region_list ():iter () do regions[#regions + 1] = region end
	if #regions ~= 1 then fail ("the track 'Analysed' holds %d regions, not 1", #regions) end
	local signal = regions[1]:to_audioregion ()
	analysed:trim ():deactivate ()
	expect_same_audio (signal, bounce (analysed, plugin, true, "reloaded"), "the reloaded plug-in's output")
	save (session, extra)
	close_session ()
else
	fail ("unknown mode '%s'", tostring (mode))
end
report ("done", mode)
