#include "tools/render/video_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>
#include <vector>

namespace glintora {

namespace {

std::string AvError(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

bool EndsWith(const std::string& s, const char* tail) {
  const std::size_t n = std::strlen(tail);
  return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

struct Encoder {
  AVCodecContext* ctx = nullptr;
  AVStream* stream = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  ~Encoder() {
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&ctx);
  }
};

}  // namespace

struct VideoWriter::State {
  AVFormatContext* format = nullptr;
  bool headerWritten = false;
  Encoder video, audio;
  SwsContext* sws = nullptr;
  std::int32_t width = 0, height = 0;
  std::int64_t framesOut = 0;
  std::int64_t samplesOut = 0;
  std::vector<std::int16_t> pending;  // interleaved samples short of a whole encoder frame

  ~State() {
    sws_freeContext(sws);
    if (format) {
      if (!(format->oformat->flags & AVFMT_NOFILE)) avio_closep(&format->pb);
      avformat_free_context(format);
    }
  }

  // Sends one frame (or, with null, the end) and writes every packet the encoder has ready.
  bool Send(Encoder& e, const AVFrame* f, std::string& error) {
    int code = avcodec_send_frame(e.ctx, f);
    if (code < 0) {
      error = std::string("encoding failed: ") + AvError(code);
      return false;
    }
    for (;;) {
      code = avcodec_receive_packet(e.ctx, e.packet);
      if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) return true;
      if (code < 0) {
        error = std::string("encoding failed: ") + AvError(code);
        return false;
      }
      av_packet_rescale_ts(e.packet, e.ctx->time_base, e.stream->time_base);
      e.packet->stream_index = e.stream->index;
      code = av_interleaved_write_frame(format, e.packet);
      if (code < 0) {
        error = std::string("writing the video failed: ") + AvError(code);
        return false;
      }
    }
  }

  bool AddEncoder(Encoder& e, const char* name, const char* what, std::string& error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec) {
      error = std::string("this FFmpeg has no ") + name + " encoder (" + what + ")";
      return false;
    }
    e.stream = avformat_new_stream(format, nullptr);
    e.ctx = avcodec_alloc_context3(codec);
    e.frame = av_frame_alloc();
    e.packet = av_packet_alloc();
    if (!e.stream || !e.ctx || !e.frame || !e.packet) {
      error = "out of memory";
      return false;
    }
    if (format->oformat->flags & AVFMT_GLOBALHEADER) e.ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return true;
  }

  bool OpenEncoder(Encoder& e, AVDictionary** options, std::string& error) {
    int code = avcodec_open2(e.ctx, e.ctx->codec, options);
    av_dict_free(options);
    if (code >= 0) code = avcodec_parameters_from_context(e.stream->codecpar, e.ctx);
    if (code < 0) {
      error = std::string("cannot start the ") + e.ctx->codec->name + " encoder: " + AvError(code);
      return false;
    }
    e.stream->time_base = e.ctx->time_base;
    return true;
  }

  // Encodes `count` sample frames from the front of pending (count may be short only at the end).
  bool EncodeSamples(std::int32_t count, std::string& error) {
    AVFrame* f = audio.frame;
    f->nb_samples = count;
    f->format = audio.ctx->sample_fmt;
    f->sample_rate = audio.ctx->sample_rate;
    av_channel_layout_copy(&f->ch_layout, &audio.ctx->ch_layout);
    int code = av_frame_get_buffer(f, 0);
    if (code < 0) {
      error = std::string("out of memory: ") + AvError(code);
      return false;
    }
    const std::int16_t* in = pending.data();
    if (audio.ctx->sample_fmt == AV_SAMPLE_FMT_S16) {
      std::memcpy(f->data[0], in, static_cast<std::size_t>(count) * 4);
    } else {  // planar float
      auto* left = reinterpret_cast<float*>(f->data[0]);
      auto* right = reinterpret_cast<float*>(f->data[1]);
      for (std::int32_t i = 0; i < count; ++i) {
        left[i] = in[2 * i] / 32768.0f;
        right[i] = in[2 * i + 1] / 32768.0f;
      }
    }
    f->pts = samplesOut;
    samplesOut += count;
    pending.erase(pending.begin(), pending.begin() + 2 * static_cast<std::ptrdiff_t>(count));
    const bool ok = Send(audio, f, error);
    av_frame_unref(f);
    return ok;
  }
};

VideoWriter::VideoWriter() = default;

VideoWriter::~VideoWriter() {
  std::string ignored;
  Close(ignored);
}

bool VideoWriter::Check(const std::string& name, bool withSound, std::string& error) {
  const bool webm = EndsWith(name, ".webm");
  if (!webm && !EndsWith(name, ".mp4")) {
    error = "--video: the file name must end in .webm or .mp4";
    return false;
  }
  const char* missing = nullptr;
  if (!avcodec_find_encoder_by_name(webm ? "libvpx-vp9" : "libx264"))
    missing = webm ? "libvpx-vp9 encoder (VP9 for .webm)" : "libx264 encoder (H.264 for .mp4)";
  else if (withSound && !avcodec_find_encoder_by_name(webm ? "libopus" : "aac"))
    missing = webm ? "libopus encoder (Opus for .webm)" : "aac encoder (AAC for .mp4)";
  if (missing) error = std::string("this FFmpeg has no ") + missing;
  return !missing;
}

bool VideoWriter::Open(const std::string& name, const std::string& path, std::int32_t width,
                       std::int32_t height, std::int32_t rateNum, std::int32_t rateDen, bool withSound,
                       std::string& error) {
  if (!Check(name, withSound, error)) return false;
  const bool webm = EndsWith(name, ".webm");
  av_log_set_level(AV_LOG_ERROR);  // the encoders' banners are no news to a user
  s_ = std::make_unique<State>();
  State& s = *s_;
  int code = avformat_alloc_output_context2(&s.format, nullptr, webm ? "webm" : "mp4", path.c_str());
  if (code < 0) {
    error = "cannot write " + path + ": " + AvError(code);
    return false;
  }
  s.width = width;
  s.height = height;

  if (!s.AddEncoder(s.video, webm ? "libvpx-vp9" : "libx264", webm ? "VP9 for .webm" : "H.264 for .mp4", error))
    return false;
  AVCodecContext* v = s.video.ctx;
  v->width = (width + 1) & ~1;
  v->height = (height + 1) & ~1;
  v->pix_fmt = AV_PIX_FMT_YUV420P;
  v->time_base = AVRational{rateDen, rateNum};
  v->framerate = AVRational{rateNum, rateDen};
  v->gop_size = std::max(1, 10 * rateNum / std::max(rateDen, 1));  // a key frame every ten seconds
  v->color_range = AVCOL_RANGE_MPEG;
  v->colorspace = AVCOL_SPC_SMPTE170M;
  v->color_primaries = AVCOL_PRI_SMPTE170M;
  v->color_trc = AVCOL_TRC_SMPTE170M;
  v->thread_count = 2;
  AVDictionary* options = nullptr;
  if (webm) {
    // Constant quality; the realtime deadline keeps 4K within reach of a small machine.
    av_dict_set(&options, "crf", "30", 0);
    av_dict_set(&options, "b", "0", 0);
    av_dict_set(&options, "deadline", "realtime", 0);
    av_dict_set(&options, "cpu-used", "8", 0);
    av_dict_set(&options, "row-mt", "1", 0);
  } else {
    av_dict_set(&options, "crf", "20", 0);
    av_dict_set(&options, "preset", "veryfast", 0);
  }
  if (!s.OpenEncoder(s.video, &options, error)) return false;
  s.video.stream->avg_frame_rate = v->framerate;

  if (withSound) {
    if (!s.AddEncoder(s.audio, webm ? "libopus" : "aac", webm ? "Opus for .webm" : "AAC for .mp4", error))
      return false;
    AVCodecContext* a = s.audio.ctx;
    a->sample_rate = 48000;
    av_channel_layout_default(&a->ch_layout, 2);
    a->time_base = AVRational{1, 48000};
    a->bit_rate = webm ? 128000 : 160000;
    a->sample_fmt = AV_SAMPLE_FMT_NONE;
    for (const AVSampleFormat* f = a->codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f)
      if (*f == AV_SAMPLE_FMT_S16 || (*f == AV_SAMPLE_FMT_FLTP && a->sample_fmt == AV_SAMPLE_FMT_NONE))
        a->sample_fmt = *f;
    if (a->sample_fmt == AV_SAMPLE_FMT_NONE) {
      error = std::string("the ") + a->codec->name + " encoder takes neither 16-bit nor float samples";
      return false;
    }
    AVDictionary* none = nullptr;
    if (!s.OpenEncoder(s.audio, &none, error)) return false;
  }

  AVFrame* f = s.video.frame;
  f->format = v->pix_fmt;
  f->width = v->width;
  f->height = v->height;
  if (av_frame_get_buffer(f, 0) < 0) {
    error = "out of memory";
    return false;
  }
  if (!(s.format->oformat->flags & AVFMT_NOFILE) &&
      (code = avio_open(&s.format->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0) {
    error = "cannot write " + path + ": " + AvError(code);
    return false;
  }
  AVDictionary* muxing = nullptr;
  if (!webm) av_dict_set(&muxing, "movflags", "+faststart", 0);  // playable while downloading
  code = avformat_write_header(s.format, &muxing);
  av_dict_free(&muxing);
  if (code < 0) {
    error = "cannot write " + path + ": " + AvError(code);
    return false;
  }
  s.headerWritten = true;
  return true;
}

bool VideoWriter::AddFrame(const Framebuffer& frame, std::string& error) {
  if (!s_ || !s_->headerWritten) return false;
  State& s = *s_;
  AVFrame* f = s.video.frame;
  const int code = av_frame_make_writable(f);
  if (code < 0) {
    error = std::string("out of memory: ") + AvError(code);
    return false;
  }
  // The pad column and row are black (limited range); their chroma also covers the last real
  // column or row, which the conversion below writes.
  if (f->width != s.width)
    for (int y = 0; y < f->height; ++y) f->data[0][y * f->linesize[0] + f->width - 1] = 16;
  if (f->height != s.height)
    std::memset(f->data[0] + (f->height - 1) * f->linesize[0], 16, static_cast<std::size_t>(f->width));
  // 0x00BBGGRR in memory is R, G, B, 0 (0x00RRGGBB is B, G, R, 0).
  const AVPixelFormat in = frame.Rgb ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_RGB0;
  s.sws = sws_getCachedContext(s.sws, s.width, s.height, in, s.width, s.height, AV_PIX_FMT_YUV420P,
                               SWS_BICUBIC, nullptr, nullptr, nullptr);
  if (!s.sws) {
    error = "out of memory";
    return false;
  }
  const std::uint8_t* src[1] = {reinterpret_cast<const std::uint8_t*>(frame.Pixels)};
  const int srcStride[1] = {frame.Stride * 4};
  sws_scale(s.sws, src, srcStride, 0, s.height, f->data, f->linesize);
  f->pts = s.framesOut++;
  return s.Send(s.video, f, error);
}

bool VideoWriter::AddSamples(const std::int16_t* samples, std::int32_t frames, std::string& error) {
  if (!s_ || !s_->headerWritten || !s_->audio.ctx) return false;
  State& s = *s_;
  s.pending.insert(s.pending.end(), samples, samples + 2 * static_cast<std::ptrdiff_t>(frames));
  const std::int32_t size = s.audio.ctx->frame_size > 0 ? s.audio.ctx->frame_size : 1024;
  while (s.pending.size() >= 2 * static_cast<std::size_t>(size))
    if (!s.EncodeSamples(size, error)) return false;
  return true;
}

bool VideoWriter::Close(std::string& error) {
  if (!s_) return true;
  std::unique_ptr<State> s = std::move(s_);
  if (!s->headerWritten) return true;
  bool ok = true;
  if (s->audio.ctx) {
    // The last frame may be short when the encoder allows it; otherwise silence fills it.
    const std::int32_t size = s->audio.ctx->frame_size > 0 ? s->audio.ctx->frame_size : 1024;
    const auto left = static_cast<std::int32_t>(s->pending.size() / 2);
    if (left > 0 && !(s->audio.ctx->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME))
      s->pending.resize(2 * static_cast<std::size_t>(size), 0);
    ok = (left == 0 || s->EncodeSamples(static_cast<std::int32_t>(s->pending.size() / 2), error)) &&
         s->Send(s->audio, nullptr, error);
  }
  ok = ok && s->Send(s->video, nullptr, error);
  int code = av_write_trailer(s->format);
  if (ok && code < 0) {
    error = std::string("finishing the video failed: ") + AvError(code);
    ok = false;
  }
  // A write error (a full disk) is kept in the context until it is flushed and closed.
  if (s->format->pb && !(s->format->oformat->flags & AVFMT_NOFILE)) {
    avio_flush(s->format->pb);
    code = s->format->pb->error;
    const int closed = avio_closep(&s->format->pb);
    if (code >= 0) code = closed;
    if (ok && code < 0) {
      error = std::string("writing the video failed: ") + AvError(code);
      ok = false;
    }
  }
  return ok;
}

}  // namespace glintora
